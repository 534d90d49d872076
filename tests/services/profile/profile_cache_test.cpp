// Reads of a file this thread has read before: never a stale value, whatever happened to the file
// behind the library's back, and the same answers from a kept copy as from the file.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/vfs.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "os/file_calls.h"
#include "os/file_identity.h"
#include "profile/profile.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

constexpr const char* kOld = "[S]\r\nk=old\r\n";
constexpr const char* kNew = "[S]\r\nk=new\r\n";  // the same size

std::string ReadKey(const std::string& file) {
  std::string text;
  ProfileRead("S", "k", "absent", 64, file, text);
  return text;
}

// Waits until a change to the file is sure to change its stamp, as it is for a file not written lately.
void WaitUntilSettled(const std::string& file) {
  for (int tries = 0; tries < 500; ++tries) {
    const auto stamp = platform::QueryFileStamp(file);
    ASSERT_TRUE(stamp.has_value()) << file;
    if (platform::StampSettled(*stamp, platform::FileClockNow())) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  FAIL() << "the stamp of " << file << " never settled";
}

// Overwrites the file's bytes where they are: the same file, no truncation.
void RewriteInPlace(const std::string& file, const std::string& bytes) {
  std::fstream(file, std::ios::in | std::ios::out | std::ios::binary) << bytes;
}

// Counts the reads of file content that reach the system.
struct CountedReads {
  static inline int count = 0;
  CountedReads() { count = 0; }
#ifdef _WIN32
  platform::ScopedFileCall<&platform::FileCalls::readFile> read{
      [](HANDLE file, void* buffer, DWORD size, DWORD* got) {
        ++count;
        return platform::SystemFileCalls().readFile(file, buffer, size, got);
      }};
#else
  platform::ScopedFileCall<&platform::FileCalls::pread> read{
      [](int fd, void* buffer, size_t size, off_t offset) {
        ++count;
        return platform::SystemFileCalls().pread(fd, buffer, size, offset);
      }};
#endif
};

// The file system the files are on says it is served over a network.
struct OnANetwork {
#ifdef _WIN32
  platform::ScopedFileCall<&platform::FileCalls::getDriveType> drive{
      [](const wchar_t*) -> UINT { return DRIVE_REMOTE; }};
#else
  platform::ScopedFileCall<&platform::FileCalls::statfs> kind{[](const char* path, struct statfs* info) {
    const int answer = platform::SystemFileCalls().statfs(path, info);
    info->f_type = 0x6969;  // NFS
    return answer;
  }};
#endif
};

struct ChangeCase {
  const char* name;
  bool settledBeforeFirstRead;  // false: the change follows within the same timestamp tick
  std::function<void(const std::string& file)> change;
  const char* expected;
  bool network = false;
};

void CheckChangeIsSeen(const ChangeCase& row, const std::string& file) {
  SCOPED_TRACE(row.name);
  testing::WriteBytes(file, kOld);
  if (row.settledBeforeFirstRead) {
    WaitUntilSettled(file);
  }
  std::optional<OnANetwork> network;
  if (row.network) {
    network.emplace();
  }
  ASSERT_EQ(ReadKey(file), "old");
  {
    // Only a settled file is served from the kept copy: one written lately is read again, as its stamp
    // is not yet sure, and so is every file on a network, whose stamps its client may answer from a cache.
    const CountedReads reads;
    ASSERT_EQ(ReadKey(file), "old");
    EXPECT_EQ(reads.count > 0, !row.settledBeforeFirstRead || row.network);
  }
  row.change(file);
  EXPECT_EQ(ReadKey(file), row.expected);
}

// Another process or tool changes the file right after a read that kept it.
TEST(ProfileCache, ANextReadSeesEveryChangeMadeBehindTheLibrarysBack) {
  const auto sameSizeKeepingTimes = [](const std::string& file) {
    const auto before = std::filesystem::last_write_time(file);
    RewriteInPlace(file, kNew);
    std::filesystem::last_write_time(file, before);
  };
  const auto renameOver = [](bool keepTimes) {
    return [keepTimes](const std::string& file) {
      const std::string temporary = file + ".tmp";
      testing::WriteBytes(temporary, kNew);
      if (keepTimes) {
        std::filesystem::last_write_time(temporary, std::filesystem::last_write_time(file));
      }
      std::filesystem::rename(temporary, file);
    };
  };
  std::vector<ChangeCase> rows{
      {"InPlaceSameSizeWithinTheTick", false, sameSizeKeepingTimes, "new"},
      {"InPlaceSameSize", true, [](const std::string& file) { RewriteInPlace(file, kNew); }, "new"},
      {"OnANetworkInPlaceSameSizeTimeSetBack", true, sameSizeKeepingTimes, "new", true},
      {"RenamedOver", true, renameOver(false), "new"},
      {"Deleted", true, [](const std::string& file) { std::filesystem::remove(file); }, "absent"},
      {"TurnedIntoFolder", true,
       [](const std::string& file) {
         std::filesystem::remove(file);
         std::filesystem::create_directory(file);
       },
       "absent"},
      {"WrittenByTheLibrary", true, [](const std::string& file) { ProfileWrite("S", "k", "new", file); },
       "new"},
  };
#ifndef _WIN32
  // Only the status change time tells: the size and the last-write time are as they were.
  rows.push_back({"InPlaceSameSizeTimeSetBack", true, sameSizeKeepingTimes, "new"});
  rows.push_back({"RenamedOverKeepingTimes", true, renameOver(true), "new"});
  if (geteuid() != 0) {  // permissions do not keep the superuser out (CI runs as root)
    rows.push_back(
        {"MadeUnreadable", true,
         [](const std::string& file) { std::filesystem::permissions(file, std::filesystem::perms::none); },
         "absent"});
  }
#endif
  testing::ScratchFolder folder;
  for (const ChangeCase& row : rows) {
    CheckChangeIsSeen(row, folder.File(std::string(row.name) + ".ini"));
  }
}

// The kept copy answers through an index of sections and keys: the same answers as a search of the
// file, which the first read of a file does.
TEST(ProfileCache, AKeptCopyAnswersAsTheFileDoes) {
  struct Row {
    const char* content;
    std::vector<std::pair<std::string, std::string>> asked;  // section and key
  };
  const std::vector<Row> rows{
      {"k=top\r\n[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\n[T]\r\nk='q'\r\n",
       {{"S", "k"}, {"s", "K"}, {" S ", " k "}, {"\tS", "k"}, {"T", "k"}, {"", "k"}, {"U", "k"}}},
      {"[]\r\n=e\r\nk=v\r\n[ A b \t]x\r\n \t key \t= v \r\n[C\r\nk=c\r\n",
       {{"", ""}, {"", "k"}, {"A b", "key"}, {"a B", "KEY"}, {"C", "k"}, {"A", "key"}}},
      {"[S]\nk=lf\r[S]\rk=cr\n[Z]k=no\n;[S]\n  [Y]\nk=y", {{"S", "k"}, {"Z", "k"}, {"Y", "k"}, {";[S", "k"}}},
      {"[Section999]\r\nKey1=a\r\n[Section99]\r\nKey1=b\r\n[Section9]\r\nkey1=c\r\n",
       {{"section99", "key1"}, {"SECTION9", "KEY1"}, {"Section999", "Key1"}, {"Section", "Key1"}}},
  };
  testing::ScratchFolder folder;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    files.push_back(folder.File("copy" + std::to_string(i) + ".ini"));
    testing::WriteBytes(files.back(), rows[i].content);
  }
  WaitUntilSettled(files.back());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (const auto& [section, key] : rows[i].asked) {
      SCOPED_TRACE(std::string(rows[i].content).append(" / ").append(section).append(" / ").append(key));
      std::string fromFile;
      std::string fromCopy;
      ProfileRead(section, key, "DEF", 64, files[i], fromFile);
      const CountedReads reads;
      ProfileRead(section, key, "DEF", 64, files[i], fromCopy);
      EXPECT_EQ(reads.count, 0);
      EXPECT_EQ(fromCopy, fromFile);
    }
  }
}

}  // namespace
}  // namespace qlxw
