// The file layer's promises on the real system: causes sorted alike everywhere, the lock's wait, every
// write path keeping every writer's keys and showing readers whole files, one lock per file whatever its
// spelling. Failing system calls are swept in tests/services/file_fault_sweep_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#endif

#include "os/file_calls.h"
#include "os/files.h"
#include "profile/profile.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

using platform::FileCalls;
using platform::FileResult;
using platform::FileStatus;
using platform::LockedFile;
using platform::LockFileForUpdate;
using platform::ScopedFileCall;
using platform::SystemFileCalls;

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A failure says why in the system's own words too, unless the library refused by itself.
void ExpectResult(const FileResult& result, FileStatus expected) {
  EXPECT_EQ(result.status, expected);
  if (expected != FileStatus::kOk) {
    EXPECT_NE(result.systemError, 0);
  }
}

// Causes the real system reports, sorted the same way on every platform.
TEST(FileCauses, EachOperationNamesTheSameCause) {
  using enum FileStatus;
#ifdef _WIN32
  const FileStatus kTooLong = kPathNotFound;  // Windows: a path past its limit is not found
#else
  const FileStatus kTooLong = kBadName;
#endif
  testing::ScratchFolder folder;
  std::filesystem::create_directory(folder.Path() / "folder");
  struct Row {
    std::string path;
    FileStatus append, read, lock;
  };
  std::vector<Row> rows{{folder.File("new.ini"), kOk, kPathNotFound, kOk},
                        {folder.File("none/new.ini"), kPathNotFound, kPathNotFound, kPathNotFound},
                        {folder.File("folder"), kAccessDenied, kAccessDenied, kAccessDenied},
                        {"", kBadName, kBadName, kBadName},
                        {folder.File("a") + std::string(1, '\0') + "b", kBadName, kBadName, kBadName},
                        {folder.File(std::string(300, 'n')), kTooLong, kTooLong, kTooLong}};
  std::set<std::string> names{"folder", "new.ini"};  // only the named file may appear
#ifndef _WIN32
  std::vector<int> others;
  // Pipes are opened without waiting for the other end and refused at once: alone, read by someone (a
  // full pipe would take part of a record), or with their lock held.
  for (const int ends : {0, 1, 2}) {
    rows.push_back({folder.File("pipe" + std::to_string(ends)), kAccessDenied, kAccessDenied, kAccessDenied});
    ::mkfifo(rows.back().path.c_str(), 0600);
    names.insert("pipe" + std::to_string(ends));
    for (int end = 0; end < ends; ++end) {
      others.push_back(::open(rows.back().path.c_str(), O_RDONLY | O_NONBLOCK));
    }
    if (ends == 2) {
      ::flock(others.back(), LOCK_EX);
    }
  }
  const std::shared_ptr<void> closing(nullptr,
                                      [&](void*) { std::for_each(others.begin(), others.end(), ::close); });
#endif
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    std::string bytes;
    ExpectResult(platform::ReadWholeFile(row.path, 1 << 20, bytes), row.read);
    std::unique_ptr<LockedFile> locked;
    ExpectResult(LockFileForUpdate(row.path, locked), row.lock);
    locked.reset();
    ExpectResult(platform::AppendToFile(row.path, "line\r\n"), row.append);
  }
  EXPECT_EQ(NamesIn(folder.Path()), names);
}

TEST(FileLimits, AFileLargerThanTheReadersLimitIsTooLargeAReadOnlyOneIsNotReplaced) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("read-only.ini");
  testing::WriteBytes(file, std::string(101, 'x'));
  std::filesystem::permissions(file,
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  std::string bytes;
  ExpectResult(platform::ReadWholeFile(file, 100, bytes), FileStatus::kTooLarge);
  std::unique_ptr<LockedFile> locked;
  ASSERT_TRUE(LockFileForUpdate(file, locked).Ok());
  ExpectResult(locked->ReadAll(100, bytes), FileStatus::kTooLarge);
  EXPECT_TRUE(locked->ReadAll(101, bytes).Ok());
  ExpectResult(locked->Replace("new"), FileStatus::kAccessDenied);
  locked.reset();
  EXPECT_EQ(testing::ReadBytes(file), std::string(101, 'x'));
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"read-only.ini"});
  std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

// A lock held by another writer (here another thread, which holds its own lock on every platform): a
// writer gives up once its wait is over, and gets the lock once the holder lets go.
TEST(FileLock, AWriterWaitsForTheHolderButNoLongerThanItsWait) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("held.ini");
  std::promise<void> held;
  std::promise<void> release;
  std::thread holder([&] {
    std::unique_ptr<LockedFile> locked;
    EXPECT_TRUE(LockFileForUpdate(file, locked).Ok());
    held.set_value();
    release.get_future().wait();
  });
  held.get_future().wait();
  const auto started = std::chrono::steady_clock::now();
  std::unique_ptr<LockedFile> locked;
  ExpectResult(LockFileForUpdate(file, locked, std::chrono::milliseconds(150)), FileStatus::kBusy);
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(locked, nullptr);
  EXPECT_GE(waited, std::chrono::milliseconds(140));
  EXPECT_LT(waited, std::chrono::seconds(5));
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    release.set_value();
  });
  EXPECT_TRUE(LockFileForUpdate(file, locked, std::chrono::seconds(5)).Ok());
  releaser.join();
  holder.join();
}

// The folder takes no new file (no write permission; a sticky folder): no temporary file can be
// made, and the file is rewritten in place instead.
struct NoNewFile {
#ifdef _WIN32
  ScopedFileCall<&FileCalls::createFile> create{
      [](const wchar_t* name, DWORD access, DWORD share, DWORD how) {
        if (how == CREATE_NEW) {
          SetLastError(ERROR_ACCESS_DENIED);
          return INVALID_HANDLE_VALUE;
        }
        return SystemFileCalls().createFile(name, access, share, how);
      }};
#else
  ScopedFileCall<&FileCalls::openat> create{[](int at, const char* name, int flags, mode_t mode) {
    if ((flags & O_EXCL) != 0) {
      errno = EACCES;
      return -1;
    }
    return SystemFileCalls().openat(at, name, flags, mode);
  }};
#endif
};

// Runs `then` once, while the next writer waits for a file's lock: another writer that takes its turn
// first and changes the file.
struct WhileNextLockIsAwaited {
  static inline std::function<void()> then;
  ~WhileNextLockIsAwaited() { then = nullptr; }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::waitForSingleObject> wait{[](HANDLE object, DWORD milliseconds) {
    if (const auto first = std::exchange(then, nullptr)) {
      first();
    }
    return SystemFileCalls().waitForSingleObject(object, milliseconds);
  }};
#else
  ScopedFileCall<&FileCalls::flock> lock{[](int fd, int operation) {
    if (const auto first = (operation & LOCK_EX) != 0 ? std::exchange(then, nullptr) : nullptr) {
      first();
      errno = EWOULDBLOCK;  // busy this once: the waiter tries again
      return -1;
    }
    return SystemFileCalls().flock(fd, operation);
  }};
#endif
};

// The ways a write reaches the file: a new file renamed over it, or the file rewritten in place (for a
// file with a second name, or when its folder takes no new file). Each way keeps every writer's keys.
struct WritePath {
  const char* name;
  // Gives the file a second name when the path needs one; returns what forces the path while it lives.
  std::function<std::shared_ptr<void>(const std::string& file, const std::string& second)> force;
  bool secondName = false;
};

void PrintTo(const WritePath& row, std::ostream* out) {
  *out << row.name;
}

class FileWritePaths : public ::testing::TestWithParam<WritePath> {
 protected:
  void SetUp() override {
    testing::WriteBytes(file_, "[S]\r\nk=short\r\n[T]\r\nt=1\r\n");
    forced_ = GetParam().force(file_, second_);
  }

  // Whether every line is a whole section header or key line: what a writer or reader cut short breaks.
  static bool WellFormed(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
      const std::size_t end = bytes.find("\r\n", at);
      if (end == std::string::npos) {
        return false;
      }
      const std::string_view line(bytes.data() + at, end - at);
      const bool header = line.size() > 2 && line.front() == '[' && line.back() == ']';
      const std::size_t equals = line.find('=');
      const bool keyLine = equals != std::string_view::npos && equals > 0 && line.back() == '.';
      if (!header && !keyLine && line != "k=short" && line != "t=1") {
        return false;
      }
      at = end + 2;
    }
    return true;
  }

  // The value each test writes for a key: its length varies, so that files grow and shrink.
  static std::string ValueFor(int key) {
    return std::string(static_cast<std::size_t>(1 + key % 17), 'v') + ".";
  }

  void ExpectSecondNameSeesTheSame() const {
    if (GetParam().secondName) {
      EXPECT_EQ(testing::ReadBytes(second_), testing::ReadBytes(file_)) << "the second name was cut off";
    }
  }

  testing::ScratchFolder folder_;
  std::string file_ = folder_.File("shared.ini");
  std::string second_ = folder_.File("second.ini");
  std::shared_ptr<void> forced_;
};

// A writer that waits for the lock while another one lengthens a value rewrites what that one left.
TEST_P(FileWritePaths, AWaitingWriterEditsWhatTheHolderLeft) {
  {
    const WhileNextLockIsAwaited another;
    WhileNextLockIsAwaited::then = [&] {
      EXPECT_TRUE(ProfileWrite("S", "k", std::string(300, 'w') + ".", file_));
    };
    EXPECT_TRUE(ProfileWrite("T", "u", "2.", file_));
  }
  EXPECT_EQ(testing::ReadBytes(file_), "[S]\r\nk=" + std::string(300, 'w') + ".\r\n[T]\r\nt=1\r\nu=2.\r\n");
  ExpectSecondNameSeesTheSame();
}

// Writers at work together lose no key, and a reader never sees a file half rewritten.
TEST_P(FileWritePaths, ConcurrentWritersLoseNothingAndReadersSeeWholeFiles) {
  constexpr int kWriters = 4;
  constexpr int kKeys = 30;
  std::atomic<int> writing{kWriters};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    std::string bytes;
    while (writing.load() > 0) {
      if (platform::ReadWholeFile(file_, 1 << 20, bytes).Ok() && !WellFormed(bytes)) {
        ++torn;
      }
      // A pause, as a host's reads have: a file always open holds up every move over it under Wine.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  std::vector<std::thread> writers;
  writers.reserve(kWriters);
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      for (int k = 0; k < kKeys; ++k) {
        EXPECT_TRUE(ProfileWrite(k % 2 == 0 ? "S" : "T", "w" + std::to_string(w) + "_" + std::to_string(k),
                                 ValueFor(k), file_));
      }
      --writing;
    });
  }
  for (std::thread& writer : writers) {
    writer.join();
  }
  reader.join();
  forced_.reset();
  EXPECT_EQ(torn.load(), 0);
  const std::string bytes = testing::ReadBytes(file_);
  EXPECT_TRUE(WellFormed(bytes));
  int found = 0;
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeys; ++k) {
      std::string value;
      ProfileRead(k % 2 == 0 ? "S" : "T", "w" + std::to_string(w) + "_" + std::to_string(k), "", 64, file_,
                  value);
      found += value == ValueFor(k) ? 1 : 0;
    }
  }
  EXPECT_EQ(found, kWriters * kKeys);
  ExpectSecondNameSeesTheSame();
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, FileWritePaths,
    ::testing::Values(WritePath{"NewFileRenamedOverIt",
                                [](const auto&, const auto&) { return std::shared_ptr<void>(); }},
                      WritePath{"InPlaceForAFileWithASecondName",
                                [](const std::string& file, const std::string& second) {
                                  std::filesystem::create_hard_link(file, second);
                                  return std::shared_ptr<void>();
                                },
                                true},
                      WritePath{"InPlaceWhenTheFolderTakesNoNewFile",
                                [](const auto&, const auto&) {
                                  return std::static_pointer_cast<void>(std::make_shared<NoNewFile>());
                                }}),
    [](const ::testing::TestParamInfo<WritePath>& param) { return std::string(param.param.name); });

#ifndef _WIN32
// A reader at work holds up no writer that renames a new file over the old one: readers wait only for
// a rewrite in place.
TEST(FileLock, AReaderAtWorkHoldsUpNoWriterThatRenames) {
  testing::ScratchFolder folder;
  static std::string file;
  file = folder.File("read.ini");
  testing::WriteBytes(file, "[S]\r\nk=old\r\n");
  static bool written = false;
  written = false;
  {
    const platform::ScopedFileCall<&platform::FileCalls::pread> midRead(
        [](int fd, void* buffer, size_t size, off_t offset) {
          if (!written) {
            written = true;  // once
            std::thread([] { written = ProfileWrite("S", "k", "new", file); }).join();
          }
          return platform::SystemFileCalls().pread(fd, buffer, size, offset);
        });
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(file, 1 << 20, bytes).Ok());
  }
  EXPECT_TRUE(written);
  EXPECT_EQ(testing::ReadBytes(file), "[S]\r\nk=new\r\n");
}
#endif

// The new file is on disk before it takes the old one's name, and on POSIX its folder is flushed after
// (Windows moves writing through): a power cut brings back neither an empty file nor the old one.
struct FlushOrder {
  static inline std::string calls;
#ifdef _WIN32
  ScopedFileCall<&FileCalls::flushFileBuffers> flush{[](HANDLE file) {
    calls += 'F';
    return SystemFileCalls().flushFileBuffers(file);
  }};
  ScopedFileCall<&FileCalls::moveFileEx> move{[](const wchar_t* from, const wchar_t* to, DWORD flags) {
    calls += (flags & MOVEFILE_WRITE_THROUGH) != 0 ? "RD" : "R";
    return SystemFileCalls().moveFileEx(from, to, flags);
  }};
#else
  ScopedFileCall<&FileCalls::fsync> flush{[](int fd) {
    struct stat info {};
    calls += ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? 'D' : 'F';
    return SystemFileCalls().fsync(fd);
  }};
  ScopedFileCall<&FileCalls::renameat> rename{
      [](int fromFolder, const char* from, int toFolder, const char* to) {
        calls += 'R';
        return SystemFileCalls().renameat(fromFolder, from, toFolder, to);
      }};
#endif
};

TEST(FileReplace, TheNewFileIsFlushedBeforeTheRenameAndTheFolderAfter) {
  testing::ScratchFolder folder;
  FlushOrder::calls.clear();
  {
    const FlushOrder order;
    EXPECT_TRUE(ProfileWrite("S", "k", "v", folder.File("flushed.ini")));
  }
  EXPECT_EQ(FlushOrder::calls, "FRD");
}

// Two names of one file, and what making the second changed outside the folder (put back when it goes).
struct TwoNames {
  std::string first;
  std::string second;
  std::shared_ptr<void> undo;
};

// The file through a drive letter substituted for its folder (what `subst` makes), where one is free.
std::optional<TwoNames> SubstitutedSpelling(const testing::ScratchFolder& folder) {
#ifdef _WIN32
  const DWORD used = GetLogicalDrives();
  for (wchar_t letter = L'Z'; letter > L'D'; --letter) {
    const std::wstring drive{letter, L':'};
    if ((used & (1u << (letter - L'A'))) == 0 &&
        DefineDosDeviceW(0, drive.c_str(), (folder.Path() / "real").wstring().c_str()) != FALSE) {
      std::shared_ptr<void> undo(
          nullptr, [drive](void*) { DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr); });
      const std::wstring substituted = drive + L"\\held.ini";
      if (GetFileAttributesW(substituted.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;  // defined, but files are not found through it (Wine)
      }
      return TwoNames{folder.File("real/held.ini"), std::filesystem::path(substituted).string(), undo};
    }
  }
#else
  (void)folder;  // POSIX has no drive letters
#endif
  return std::nullopt;
}

// The file through a drive mapped to its folder and through the folder's own name, where the test run
// mapped one (QLXW_TEST_MAPPED_DRIVE, e.g. "M:", for the folder QLXW_TEST_MAPPED_FOLDER).
std::optional<TwoNames> MappedDriveSpelling(const testing::ScratchFolder& /*folder*/) {
  const char* drive = std::getenv("QLXW_TEST_MAPPED_DRIVE");
  const char* mapped = std::getenv("QLXW_TEST_MAPPED_FOLDER");
  if (drive == nullptr || mapped == nullptr) {
    return std::nullopt;
  }
  const std::string file = std::string(mapped) + "\\held.ini";  // left there for the next run
  testing::WriteBytes(file, "[S]\r\n");
  return TwoNames{file, std::string(drive) + "\\held.ini", nullptr};
}

// The file by its long name and by its short (8.3) name, where the system makes short names.
std::optional<TwoNames> ShortSpelling(const testing::ScratchFolder& folder) {
#ifdef _WIN32
  std::filesystem::create_directory(folder.Path() / "a folder with a long name");
  const auto file = folder.Path() / "a folder with a long name" / "held.ini";
  testing::WriteBytes(file.string(), "[S]\r\n");
  std::wstring shortName(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(file.wstring().c_str(), shortName.data(), MAX_PATH);
  shortName.resize(length < MAX_PATH ? length : 0);
  if (shortName.empty() || shortName == file.wstring()) {
    return std::nullopt;
  }
  return TwoNames{file.string(), std::filesystem::path(shortName).string(), nullptr};
#else
  (void)folder;
  return std::nullopt;  // POSIX names have one spelling
#endif
}

// Writers that name one file differently still take turns: the lock is the file's, not its name's. A
// spelling this system cannot make gives no names.
TEST(FileLockSpellings, TwoNamesOfOneFileShareItsLock) {
  const std::function<std::optional<TwoNames>(const testing::ScratchFolder&)> spellings[] = {
      [](const testing::ScratchFolder& f) -> std::optional<TwoNames> {
        std::error_code failed;
        std::filesystem::create_directory_symlink(f.Path() / "real", f.Path() / "link", failed);
        return failed ? std::nullopt
                      : std::optional(TwoNames{f.File("real/held.ini"), f.File("link/held.ini"), nullptr});
      },
      [](const testing::ScratchFolder& f) -> std::optional<TwoNames> {
        std::filesystem::create_hard_link(f.Path() / "real" / "held.ini", f.Path() / "second.ini");
        return TwoNames{f.File("real/held.ini"), f.File("second.ini"), nullptr};
      },
      ShortSpelling, SubstitutedSpelling, MappedDriveSpelling};
  for (const auto& spelling : spellings) {
    testing::ScratchFolder folder;
    std::filesystem::create_directory(folder.Path() / "real");
    testing::WriteBytes(folder.File("real/held.ini"), "[S]\r\n");
    const auto names = spelling(folder);
    if (!names) {
      continue;
    }
    SCOPED_TRACE(names->second);
    std::promise<void> held;
    std::promise<void> release;
    std::thread holder([&] {
      std::unique_ptr<LockedFile> locked;
      EXPECT_TRUE(LockFileForUpdate(names->first, locked).Ok());
      held.set_value();
      release.get_future().wait();
    });
    held.get_future().wait();
    std::unique_ptr<LockedFile> locked;
    ExpectResult(LockFileForUpdate(names->second, locked, std::chrono::milliseconds(100)), FileStatus::kBusy);
    release.set_value();
    holder.join();
  }
}

// A read told the size a query found a moment ago gives the file as it is now, whatever happened
// since; a path that turned into something else than a regular file is refused, never waited on.
TEST(FileReadOfKnownSize, GivesTheFileAsItIsNowOrRefusesWhatIsNoFile) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("sized.ini");
  testing::WriteBytes(file, "[S]\r\nk=v\r\n");  // 10 bytes
  struct Case {
    const char* name;
    std::string path;
    std::size_t expected;
    FileStatus status;
    std::string bytes;
    std::size_t limit = 1000;
  };
  std::vector<Case> cases{
      {"AsExpected", file, 10, FileStatus::kOk, "[S]\r\nk=v\r\n"},
      {"GrewSince", file, 5, FileStatus::kOk, "[S]\r\nk=v\r\n"},
      {"ShrankSince", file, 40, FileStatus::kOk, "[S]\r\nk=v\r\n"},
      {"FilledSince", file, 0, FileStatus::kOk, "[S]\r\nk=v\r\n"},
      {"LargerThanAllowed", file, 10, FileStatus::kTooLarge, "", 9},
      {"Gone", folder.File("gone.ini"), 11, FileStatus::kPathNotFound, ""},
      {"AFolder", folder.Path().string(), 11, FileStatus::kAccessDenied, ""},
  };
#ifndef _WIN32
  const std::string pipe = folder.File("pipe.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  cases.push_back({"APipe", pipe, 11, FileStatus::kAccessDenied, ""});
  cases.push_back({"ADeviceThatNeverEnds", "/dev/zero", 11, FileStatus::kAccessDenied, ""});
  cases.push_back({"AnEmptyDevice", "/dev/null", 0, FileStatus::kAccessDenied, ""});
  // Sparse: no disk taken. Its size does not fit a 32-bit size_t; cut to one, it would look small.
  const std::string beyond = folder.File("beyond.ini");
  testing::WriteBytes(beyond, "[S]\r\nk=v\r\n");
  std::filesystem::resize_file(beyond, (std::uintmax_t{1} << 32) + 10);
  cases.push_back({"LargerThanAnySizeOfMemory", beyond, 10, FileStatus::kTooLarge, ""});
#endif
  for (const Case& row : cases) {
    std::string bytes = "left over";
    const FileResult result = platform::ReadWholeFileOfSize(row.path, row.expected, row.limit, bytes);
    EXPECT_EQ(result.status, row.status) << row.name;
    if (row.status == FileStatus::kOk) {
      EXPECT_EQ(bytes, row.bytes) << row.name;
    }
  }
}

// The name of the temporary file the next write makes, learnt as it is made.
struct TemporaryNames {
  static inline std::string made;
#ifdef _WIN32
  ScopedFileCall<&FileCalls::createFile> record{
      [](const wchar_t* name, DWORD access, DWORD share, DWORD how) {
        made = how == CREATE_NEW ? std::filesystem::path(name).filename().string() : made;
        return SystemFileCalls().createFile(name, access, share, how);
      }};
#else
  ScopedFileCall<&FileCalls::openat> record{[](int at, const char* name, int flags, mode_t mode) {
    made = (flags & O_EXCL) != 0 ? std::filesystem::path(name).filename().string() : made;
    return SystemFileCalls().openat(at, name, flags, mode);
  }};
#endif
};

// A writer killed before its rename leaves its temporary file; the next writer of that file in a new
// process removes it, but never the temporary file of a writer still at work. (The names are learnt
// from writes of a file of the same name in another folder, where this process has written before.)
TEST(FileLeftovers, ADeadWritersTemporaryFileGoesALiveWritersStays) {
  testing::ScratchFolder elsewhere;
  testing::ScratchFolder folder;
  std::vector<std::string> made;
  for (const int i : {0, 1}) {
    const TemporaryNames names;
    EXPECT_TRUE(ProfileWrite("S", "k", std::to_string(i), elsewhere.File("host.ini")));
    made.push_back(TemporaryNames::made);
  }
  ASSERT_EQ(made.size(), 2u);
  const std::string& dead = made[0];
  const std::string& live = made[1];
  testing::WriteBytes(folder.File(dead), "[S]\r\nk=hal");
  testing::WriteBytes(folder.File(live), "[S]\r\nk=being");
#ifdef _WIN32
  // A live writer keeps its file open, sharing no deletion.
  const HANDLE writer = CreateFileW(std::filesystem::path(folder.File(live)).wstring().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
#else
  // A live writer holds the lock on its file.
  const int writer = ::open(folder.File(live).c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
#endif
  EXPECT_TRUE(ProfileWrite("S", "k", "v", folder.File("host.ini")));
  EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"host.ini", live}));
#ifdef _WIN32
  CloseHandle(writer);
#else
  ::close(writer);
#endif
}

#ifdef _WIN32
// Another program holding the file open (sharing reading and writing, not deletion) holds up the
// replace for good: the value is written all the same, in place, as the system's own function would.
TEST(FileReplace, AFileAnotherProgramHoldsOpenIsStillWritten) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("open.ini");
  testing::WriteBytes(file, "[S]\r\nk=old\r\n");
  const HANDLE other = CreateFileW(std::filesystem::path(file).wstring().c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ProfileWrite("S", "k", "new", file));
  CloseHandle(other);
  EXPECT_EQ(testing::ReadBytes(file), "[S]\r\nk=new\r\n");
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"open.ini"});
}
#endif

// Starts a reader of the file in another thread whenever a write has put down part of its bytes (and
// no reader is still at work), giving it a moment before the write goes on: a reader a writer keeps out
// is not waited for. Each write call puts down half of what it is given, so every write has a middle.
struct ReadersHalfwayThroughWrites {
  static inline std::string file;
  static inline std::vector<std::string> seen;
  static inline std::atomic<int> failed{0};  // otherwise than by finding the file busy past the wait
  static inline std::thread reader;
  static inline std::atomic<bool> done{true};

  ~ReadersHalfwayThroughWrites() { Join(); }
  static void Join() {
    if (reader.joinable()) {
      reader.join();
    }
  }
  static void AfterPart() {
    if (reader.joinable() && !done) {
      return;
    }
    Join();
    done = false;
    reader = std::thread([] {
      std::string bytes;
      const FileResult read = platform::ReadWholeFile(file, 1 << 20, bytes);
      read.Ok() ? seen.push_back(bytes) : void(failed += read.status != FileStatus::kBusy ? 1 : 0);
      done = true;
    });
    for (int waited = 0; waited < 50 && !done; ++waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::writeFile> write{[](HANDLE to, const void* buffer, DWORD size, DWORD* written) {
    const BOOL ok = SystemFileCalls().writeFile(to, buffer, std::max<DWORD>(1, size / 2), written);
    if (ok != FALSE && *written < size) {
      AfterPart();
    }
    return ok;
  }};
#else
  ScopedFileCall<&FileCalls::write> write{[](int fd, const void* buffer, size_t size) {
    const ssize_t written = SystemFileCalls().write(fd, buffer, std::max<size_t>(1, size / 2));
    if (written > 0 && static_cast<size_t>(written) < size) {
      AfterPart();
    }
    return written;
  }};
#endif
};

// A reader that comes while a write is halfway through gets the file as it was or as it is after (or,
// where the pauses of its wait take no time, finds it busy).
TEST_P(FileWritePaths, AReaderHalfwayThroughAWriteSeesTheFileWhole) {
  const std::string before = testing::ReadBytes(file_);
  ReadersHalfwayThroughWrites::file = file_;
  ReadersHalfwayThroughWrites::seen.clear();
  ReadersHalfwayThroughWrites::failed = 0;
  {
    const ReadersHalfwayThroughWrites readers;
    EXPECT_TRUE(ProfileWrite("S", "k", std::string(3000, 'w') + ".", file_));
  }
  const std::string after = testing::ReadBytes(file_);
  EXPECT_FALSE(ReadersHalfwayThroughWrites::seen.empty());
  EXPECT_EQ(ReadersHalfwayThroughWrites::failed, 0);
  for (const std::string& bytes : ReadersHalfwayThroughWrites::seen) {
    EXPECT_TRUE(bytes == before || bytes == after) << "a reader got " << bytes.size() << " bytes";
  }
  ExpectSecondNameSeesTheSame();
}

}  // namespace
}  // namespace qlxw
