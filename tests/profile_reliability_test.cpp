// The profile layer under abuse: writers killed mid-write, writers racing, hostile files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "config/profile.h"
#include "test_support.h"

namespace qlxw {
namespace {

std::string ReadValue(const std::string& file, const std::string& section, const std::string& key) {
  std::string text;
  ProfileRead(section, key, "<absent>", 4096, file, text);
  return text;
}

// A file of `sections` sections with `keys` keys each.
std::string GeneratedIni(int sections, int keys) {
  std::string content = "; generated\r\n";
  for (int s = 0; s < sections; ++s) {
    content += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < keys; ++k) {
      content += "Key" + std::to_string(k) + "=value " + std::to_string(s * keys + k) + "\r\n";
    }
  }
  return content;
}

// Runs `work` in a child process; returns its pid.
template <class Work>
pid_t Spawn(Work work) {
  const pid_t pid = fork();
  if (pid == 0) {
    work();
    _exit(0);
  }
  return pid;
}

TEST(ProfileReliability, KilledWriterLeavesTheOldOrTheNewFile) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("killed.ini");
  const std::string first(3000, 'a');
  const std::string second(3000, 'b');
  testing::WriteBytes(file, GeneratedIni(20, 20));
  ASSERT_TRUE(ProfileWrite("Section7", "Key3", first, file));
  const std::string withFirst = testing::ReadBytes(file);
  ASSERT_TRUE(ProfileWrite("Section7", "Key3", second, file));
  const std::string withSecond = testing::ReadBytes(file);

  // The kills fall anywhere in a few write pairs, however fast this build writes (sanitizers, a busy
  // machine): measured here, not assumed.
  const auto started = std::chrono::steady_clock::now();
  for (int pair = 0; pair < 5; ++pair) {
    ProfileWrite("Section7", "Key3", first, file);
    ProfileWrite("Section7", "Key3", second, file);
  }
  const auto pairMicros = std::max<long long>(
      1, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
                 .count() /
             5);
  std::mt19937 random(20261205);
  int sawFirst = 0;
  int sawSecond = 0;
  // At least 200 kills; more (up to 1,000) while one of the two contents has not been seen yet.
  for (int kill = 0; kill < 1000 && (kill < 200 || sawFirst == 0 || sawSecond == 0); ++kill) {
    const pid_t writer = Spawn([&] {
      for (;;) {
        ProfileWrite("Section7", "Key3", first, file);
        ProfileWrite("Section7", "Key3", second, file);
      }
    });
    std::this_thread::sleep_for(
        std::chrono::microseconds(random() % static_cast<unsigned>(4 * pairMicros + 500)));
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    const std::string now = testing::ReadBytes(file);
    ASSERT_TRUE(now == withFirst || now == withSecond)
        << "torn after kill " << kill << ": " << now.size() << " bytes";
    (now == withFirst ? sawFirst : sawSecond)++;
  }
  // Both contents were seen: the kills did land while the writer was at work.
  EXPECT_GT(sawFirst, 0);
  EXPECT_GT(sawSecond, 0);
}

TEST(ProfileReliability, TwoProcessesWritingDifferentKeysLoseNothing) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("shared.ini");
  constexpr int kKeys = 500;
  std::vector<pid_t> writers;
  for (const std::string process : {"first", "second"}) {
    writers.push_back(Spawn([&] {
      for (int k = 0; k < kKeys; ++k) {
        ProfileWrite(k % 2 == 0 ? "Even" : "Odd", process + std::to_string(k), std::to_string(k), file);
      }
    }));
  }
  for (const pid_t writer : writers) {
    int status = 0;
    ::waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
  }
  int found = 0;
  for (const std::string process : {"first", "second"}) {
    for (int k = 0; k < kKeys; ++k) {
      found += ReadValue(file, k % 2 == 0 ? "Even" : "Odd", process + std::to_string(k)) == std::to_string(k);
    }
  }
  EXPECT_EQ(found, 2 * kKeys);
}

// A hostile file: it reads as the contract says, a write changes only what it must, nothing crashes.
struct HostileCase {
  const char* name;
  std::string content;
  std::string section;  // a section and key the file holds, with its value
  std::string key;
  std::string value;
};

class HostileFiles : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFiles, ReadAndWriteSafely) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("hostile.ini");
  const HostileCase& hostile = GetParam();
  testing::WriteBytes(file, hostile.content);
  EXPECT_EQ(ReadValue(file, hostile.section, hostile.key), hostile.value);
  EXPECT_EQ(ReadValue(file, "NoSuchSection", "k"), "<absent>");
  ASSERT_TRUE(ProfileWrite("Added", "key", "value", file));
  EXPECT_EQ(ReadValue(file, "Added", "key"), "value");
  const std::string after = testing::ReadBytes(file);
  EXPECT_EQ(after.substr(0, hostile.content.size()), hostile.content);  // everything before is kept
  EXPECT_EQ(ReadValue(file, hostile.section, hostile.key), hostile.value);
}

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFiles,
    ::testing::Values(
        HostileCase{"BinaryBeforeSections", RandomBytes(65536, 1) + "\r\n[S]\r\nk=v\r\n", "S", "k", "v"},
        HostileCase{"NulBytes", std::string("[S]\0\r\nk\0=v\r\n[T]\r\nk=w\0x\r\n", 24), "T", "k",
                    std::string("w\0x", 3)},
        HostileCase{"OneMebibyteLine", "[S]\r\nlong=" + std::string(1 << 20, 'x') + "\r\nk=v\r\n", "S", "k",
                    "v"},
        HostileCase{"NoFinalNewline", "[S]\r\nk=v", "S", "k", "v"},
        HostileCase{"CrOnly", "[S]\rk=v\r[T]\rk=w", "T", "k", "w"},
        HostileCase{"Utf8ByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w\r\n", "T", "k", "w"},
        HostileCase{"HundredThousandSections", GeneratedIni(100000, 1), "Section99999", "Key0",
                    "value 99999"},
        HostileCase{"OnlyBrackets", std::string(100000, '['), "S", "k", "<absent>"},
        HostileCase{"OnlyLineEnds", std::string(100000, '\r') + std::string(100000, '\n'), "S", "k",
                    "<absent>"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProfileReliability, OversizedFileIsNeitherReadNorRewritten) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("huge.ini");
  testing::WriteBytes(file, "[S]\r\nk=v\r\n");
  std::filesystem::resize_file(file, kMaxProfileBytes + 1);  // sparse: no real disk use
  EXPECT_EQ(ReadValue(file, "S", "k"), "<absent>");
  EXPECT_FALSE(ProfileWrite("S", "k", "w", file));
  EXPECT_EQ(std::filesystem::file_size(file), kMaxProfileBytes + 1);
}

}  // namespace
}  // namespace qlxw
