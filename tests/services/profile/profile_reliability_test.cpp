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
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "os/file_calls.h"
#include "profile/profile.h"
#include "tests/support/test_support.h"

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

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
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
  // The next writer (another process, as after a host's restart) writes and clears what they left.
  EXPECT_TRUE(TrueInAChild([&] { return ProfileWrite("Section7", "Key3", "after the kills", file); }));
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"killed.ini"});
}

// A write whose rename and clean-up never happen leaves its temporary file, as a writer killed then does.
std::string LeftoverOf(const std::string& file) {
  {
    const platform::ScopedFileCall<&platform::FileCalls::renameat> rename{
        [](int, const char*, int, const char*) {
          errno = EIO;
          return -1;
        }};
    const platform::ScopedFileCall<&platform::FileCalls::unlinkat> kept{
        [](int, const char*, int) { return 0; }};
    EXPECT_FALSE(ProfileWrite("S", "k", "dead", file));
  }
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file).parent_path())) {
    if (entry.path() != std::filesystem::path(file)) {
      return entry.path().string();
    }
  }
  return {};
}

// A forked child is a new writer: its first write of a file looks for leftovers again, although its
// parent looked a moment before.
TEST(ProfileReliability, AForkedChildLooksForLeftoversOnItsFirstWrite) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("host.ini");
  ASSERT_TRUE(ProfileWrite("S", "k", "1", file));  // the parent looks here now
  const std::string leftover = LeftoverOf(file);   // then a writer dies
  ASSERT_FALSE(leftover.empty());
  EXPECT_TRUE(
      TrueInAChild([&] { return ProfileWrite("S", "k", "2", file) && !std::filesystem::exists(leftover); }));
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
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"limited.ini"});
}

// Names up to the system's longest (255 bytes) can be written; nothing else is left in the folder.
TEST(ProfileReliability, EveryLegalFileNameCanBeWritten) {
  for (const std::size_t length : {std::size_t{200}, std::size_t{240}, std::size_t{255}}) {
    testing::ScratchFolder folder;
    const std::string name(length, 'n');
    EXPECT_TRUE(ProfileWrite("S", "k", "v", folder.File(name))) << length;
    EXPECT_EQ(ReadValue(folder.File(name), "S", "k"), "v") << length;
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{name}) << length;
  }
}

// A write reaches the file behind its name and keeps what the file is: links, owner, mode. Files
// with other names, or in a folder that takes no new file, are rewritten in place.
struct FileKindCase {
  const char* name;
  bool needsRoot;
  bool folderTakesNoNewFile;  // said by the system to everyone but root, here by a seam to root too
  std::function<std::string(const testing::ScratchFolder&)> make;  // returns the name written to
  std::function<void(const testing::ScratchFolder&)> check;
};

// Listed by its name, not as raw bytes.
void PrintTo(const FileKindCase& row, std::ostream* out) {
  *out << row.name;
}

class FileKinds : public ::testing::TestWithParam<FileKindCase> {};

TEST_P(FileKinds, AWriteKeepsWhatTheFileIs) {
  const FileKindCase& row = GetParam();
  if (row.needsRoot && ::geteuid() != 0) {
    GTEST_SKIP() << "only root can give a file to another user";
  }
  testing::ScratchFolder folder;
  const std::string written = row.make(folder);
  std::optional<platform::ScopedFileCall<&platform::FileCalls::openat>> refusingNewFiles;
  if (row.folderTakesNoNewFile) {
    refusingNewFiles.emplace([](int at, const char* path, int flags, mode_t mode) {
      const bool newFileToWrite = (flags & O_CREAT) != 0 && (flags & O_ACCMODE) != O_RDONLY;
      if (newFileToWrite) {
        errno = EACCES;
        return -1;
      }
      return platform::SystemFileCalls().openat(at, path, flags, mode);
    });
  }
  EXPECT_TRUE(ProfileWrite("S", "k", "new", written));
  refusingNewFiles.reset();
  EXPECT_EQ(ReadValue(written, "S", "k"), "new");
  row.check(folder);
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

struct stat InfoOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

const std::string kOld = "[S]\r\nk=old\r\n";
const std::string kNew = "[S]\r\nk=new\r\n";

INSTANTIATE_TEST_SUITE_P(
    Posix, FileKinds,
    ::testing::Values(
        FileKindCase{"SymbolicLinkStaysALink", false, false,
                     [](const auto& f) {
                       testing::WriteBytes(f.File("target.ini"), kOld);
                       std::filesystem::create_symlink("target.ini", f.File("link.ini"));
                       return f.File("link.ini");
                     },
                     [](const auto& f) {
                       EXPECT_TRUE(S_ISLNK(InfoOf(f.File("link.ini")).st_mode));
                       EXPECT_EQ(testing::ReadBytes(f.File("target.ini")), kNew);
                     }},
        FileKindCase{"DanglingLinkGetsItsTarget", false, false,
                     [](const auto& f) {
                       std::filesystem::create_symlink(f.File("missing.ini"), f.File("link.ini"));
                       return f.File("link.ini");
                     },
                     [](const auto& f) {
                       EXPECT_TRUE(S_ISLNK(InfoOf(f.File("link.ini")).st_mode));
                       EXPECT_EQ(testing::ReadBytes(f.File("missing.ini")), kNew);
                       EXPECT_EQ(NamesIn(f.Path()), (std::set<std::string>{"link.ini", "missing.ini"}));
                     }},
        FileKindCase{"HardLinkedNamesStayOneFile", false, false,
                     [](const auto& f) {
                       testing::WriteBytes(f.File("one.ini"), kOld);
                       std::filesystem::create_hard_link(f.File("one.ini"), f.File("other.ini"));
                       return f.File("one.ini");
                     },
                     [](const auto& f) {
                       EXPECT_EQ(InfoOf(f.File("one.ini")).st_nlink, 2u);
                       EXPECT_EQ(testing::ReadBytes(f.File("other.ini")), kNew);
                     }},
        FileKindCase{"ModeKept", false, false,
                     [](const auto& f) {
                       testing::WriteBytes(f.File("mode.ini"), kOld);
                       ::chmod(f.File("mode.ini").c_str(), 0640);
                       return f.File("mode.ini");
                     },
                     [](const auto& f) { EXPECT_EQ(InfoOf(f.File("mode.ini")).st_mode & 07777, 0640u); }},
        FileKindCase{"AnotherUsersFileStaysTheirs", true, false,
                     [](const auto& f) {
                       testing::WriteBytes(f.File("theirs.ini"), kOld);
                       EXPECT_EQ(::chown(f.File("theirs.ini").c_str(), 65534, 65534), 0);
                       return f.File("theirs.ini");
                     },
                     [](const auto& f) {
                       EXPECT_EQ(InfoOf(f.File("theirs.ini")).st_uid, 65534u);
                       EXPECT_EQ(InfoOf(f.File("theirs.ini")).st_gid, 65534u);
                     }},
        FileKindCase{
            "FolderThatTakesNoNewFile", false, true,
            [](const auto& f) {
              testing::WriteBytes(f.File("fixed.ini"), kOld);
              std::filesystem::permissions(f.Path(), std::filesystem::perms::owner_write,
                                           std::filesystem::perm_options::remove);
              return f.File("fixed.ini");
            },
            [](const auto& f) { EXPECT_EQ(NamesIn(f.Path()), std::set<std::string>{"fixed.ini"}); }}),
    [](const auto& row) { return std::string(row.param.name); });

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
      found += ReadValue(file, k % 2 == 0 ? "Even" : "Odd", process + std::to_string(k)) == std::to_string(k)
                   ? 1
                   : 0;
    }
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
