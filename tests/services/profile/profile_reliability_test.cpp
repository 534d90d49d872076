// The profile layer across processes and on what POSIX files can be: writers killed mid-write, writers
// racing, links, owners, limits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "profile/profile.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

std::string ReadValue(const std::string& file, const std::string& section, const std::string& key) {
  std::string text;
  ProfileRead(section, key, "<absent>", 4096, file, text);
  return text;
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

// Whether `work` returns true in a child process that neither hangs (10 s) nor is stopped by a signal.
bool TrueInAChild(const std::function<bool()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    ::alarm(10);
    _exit(work() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ProfileReliability, KilledWriterLeavesTheOldOrTheNewFile) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("killed.ini");
  const std::string first(3000, 'a');
  const std::string second(3000, 'b');
  testing::WriteBytes(file, std::string(8000, ';') + "\r\n[Section7]\r\nKey3=x\r\n[Section8]\r\n");
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
  // The next writer (another process, as after a host's restart) writes and clears what they left,
  // although the process it was forked from looked for leftovers before.
  EXPECT_TRUE(TrueInAChild([&] { return ProfileWrite("Section7", "Key3", "after the kills", file); }));
  EXPECT_EQ(testing::NamesIn(folder.Path()), std::set<std::string>{"killed.ini"});
}

// A write beyond the process's file-size limit fails instead of stopping the process, and leaves
// nothing behind.
TEST(ProfileReliability, AWriteBeyondTheFileSizeLimitFailsCleanly) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("limited.ini");
  const std::string before = "[S]\r\nk=v\r\n";
  testing::WriteBytes(file, before);
  EXPECT_TRUE(TrueInAChild([&] {
    const rlimit limit{4096, 4096};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 && !ProfileWrite("S", "k", std::string(8000, 'x'), file) &&
           ProfileWrite("S", "k", "w", file);
  }));
  EXPECT_EQ(testing::ReadBytes(file), "[S]\r\nk=w\r\n");
  EXPECT_EQ(testing::NamesIn(folder.Path()), std::set<std::string>{"limited.ini"});
}

// Names up to the system's longest (255 bytes) can be written; nothing else is left in the folder.
TEST(ProfileReliability, EveryLegalFileNameCanBeWritten) {
  for (const std::size_t length : {std::size_t{200}, std::size_t{240}, std::size_t{255}}) {
    testing::ScratchFolder folder;
    const std::string name(length, 'n');
    EXPECT_TRUE(ProfileWrite("S", "k", "v", folder.File(name))) << length;
    EXPECT_EQ(ReadValue(folder.File(name), "S", "k"), "v") << length;
    EXPECT_EQ(testing::NamesIn(folder.Path()), std::set<std::string>{name}) << length;
  }
}

// A write reaches the file behind its name and keeps what the file is: a link stays a link (a dangling
// one gets its target), the file keeps its mode and, written by root, its owner. (Second names and
// folders that take no new file are the file layer's.)
TEST(ProfileReliability, AWriteKeepsLinksOwnerAndMode) {
  testing::ScratchFolder folder;
  const std::string target = folder.File("target.ini");
  testing::WriteBytes(target, "[S]\r\nk=old\r\n");
  ::chmod(target.c_str(), 0640);
  const bool root = ::geteuid() == 0;  // only root can give a file to another user
  if (root) {
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  }
  std::filesystem::create_symlink("target.ini", folder.File("link.ini"));
  std::filesystem::create_symlink(folder.File("missing.ini"), folder.File("dangling.ini"));
  for (const char* link : {"link.ini", "dangling.ini"}) {
    EXPECT_TRUE(ProfileWrite("S", "k", "new", folder.File(link))) << link;
    struct stat info {};
    EXPECT_TRUE(::lstat(folder.File(link).c_str(), &info) == 0 && S_ISLNK(info.st_mode)) << link;
  }
  for (const std::string& file : {target, folder.File("missing.ini")}) {
    EXPECT_EQ(testing::ReadBytes(file), "[S]\r\nk=new\r\n");
  }
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);
  EXPECT_TRUE(!root || (info.st_uid == 65534U && info.st_gid == 65534U));
  EXPECT_EQ(testing::NamesIn(folder.Path()),
            (std::set<std::string>{"dangling.ini", "link.ini", "missing.ini", "target.ini"}));
}

std::string Repeated(std::string_view piece, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) {
    text += piece;
  }
  return text;
}

// A section search costs about one pass over the file, whatever the name asked for: long names of
// digits (a byte matched in any case) in a line or header of digits, of letters in many short headers.
TEST(ProfileReliability, ASectionSearchIsLinear) {
  constexpr std::size_t kTwoMebibytes = std::size_t{2} << 20;
  struct Row {
    std::string content;
    std::string section;
    ProfileCharset charset = ProfileCharset::kCodePage;
  };
  for (const Row& row :
       {Row{std::string(kTwoMebibytes, '1'), std::string(20000, '1')},
        Row{"[" + std::string(kTwoMebibytes, '1'), std::string(20000, '1')},
        Row{Repeated("[a\r\n", kTwoMebibytes), std::string(20000, 'a')},
        Row{Repeated("[\xC3\xA1\r\n", kTwoMebibytes), Repeated("\xC3\xA1", 20000), ProfileCharset::kUtf8}}) {
    testing::ScratchFolder folder;
    const std::string file = folder.File("long.ini");
    testing::WriteBytes(file, row.content);
    const auto started = std::chrono::steady_clock::now();
    std::string text;
    ProfileRead(row.section, "k", "<absent>", 100, file, text, row.charset);
    EXPECT_EQ(text, "<absent>");
    EXPECT_TRUE(ProfileWrite(row.section, "k", "v", file, row.charset));
    // Linear: milliseconds, even under sanitizers; quadratic: tens of seconds.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2))
        << row.content.substr(0, 4);
  }
}

// Two processes writing keys of their own at once lose none: the lock holds between processes.
TEST(ProfileReliability, TwoProcessesWritingDifferentKeysLoseNothing) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("shared.ini");
  constexpr int kKeys = 500;
  const auto key = [](int process, int k) { return "p" + std::to_string(process) + "_" + std::to_string(k); };
  const pid_t other = Spawn([&] {
    for (int k = 0; k < kKeys; ++k) {
      ProfileWrite("S", key(1, k), std::to_string(k), file);
    }
  });
  for (int k = 0; k < kKeys; ++k) {
    ProfileWrite("S", key(0, k), std::to_string(k), file);
  }
  ::waitpid(other, nullptr, 0);
  int found = 0;
  for (int k = 0; k < 2 * kKeys; ++k) {
    found += ReadValue(file, "S", key(k % 2, k / 2)) == std::to_string(k / 2) ? 1 : 0;
  }
  EXPECT_EQ(found, 2 * kKeys);
}

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
