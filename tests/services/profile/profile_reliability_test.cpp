// The profile layer on what POSIX files can be: links, owners, limits.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "profile/profile.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

std::string ReadValue(const std::string& file, const std::string& section, const std::string& key) {
  std::string text;
  ProfileRead(section, key, "<absent>", 4096, file, text);
  return text;
}

// A write beyond the process's file-size limit fails instead of stopping the process, and leaves
// nothing behind. (In a child process, which neither hangs nor is stopped by a signal.)
TEST(ProfileReliability, AWriteBeyondTheFileSizeLimitFailsCleanly) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("limited.ini");
  testing::WriteBytes(file, "[S]\r\nk=v\r\n");
  const pid_t child = fork();
  if (child == 0) {
    ::alarm(10);
    const rlimit limit{4096, 4096};
    const bool failedThenWrote = ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                                 !ProfileWrite("S", "k", std::string(8000, 'x'), file) &&
                                 ProfileWrite("S", "k", "w", file);
    _exit(failedThenWrote ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
