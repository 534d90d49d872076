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
#include <ostream>
#include <set>
#include <string>
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

// A failure says why in the system's own words too, unless the library refused by itself.
void ExpectResult(const FileResult& result, FileStatus expected, const std::string& what = {}) {
  EXPECT_EQ(result.status, expected) << what;
  if (expected != FileStatus::kOk) {
    EXPECT_NE(result.systemError, 0) << what;
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
    std::string bytes;
    ExpectResult(platform::ReadWholeFile(row.path, 1 << 20, bytes), row.read, row.path);
    ExpectResult(platform::ReadWholeFileOfSize(row.path, 11, 1 << 20, bytes), row.read, row.path);
    std::unique_ptr<LockedFile> locked;
    ExpectResult(LockFileForUpdate(row.path, locked), row.lock, row.path);
    locked.reset();
    ExpectResult(platform::AppendToFile(row.path, "line\r\n"), row.append, row.path);
  }
  EXPECT_EQ(testing::NamesIn(folder.Path()), names);
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
  EXPECT_EQ(testing::NamesIn(folder.Path()), std::set<std::string>{"read-only.ini"});
  std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

// Takes the file's lock in another thread (which holds its own lock on every platform), until `release`.
std::thread HoldInAnotherThread(const std::string& file, const std::shared_future<void>& release) {
  std::promise<void> held;
  std::future<void> taken = held.get_future();
  std::thread holder([file, release, held = std::move(held)]() mutable {
    std::unique_ptr<LockedFile> locked;
    EXPECT_TRUE(LockFileForUpdate(file, locked).Ok());
    held.set_value();
    release.wait();
  });
  taken.wait();
  return holder;
}

// A writer gives up once its wait is over, and gets the lock once the holder lets go.
TEST(FileLock, AWriterWaitsForTheHolderButNoLongerThanItsWait) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("held.ini");
  std::promise<void> release;
  std::thread holder = HoldInAnotherThread(file, release.get_future().share());
  std::unique_ptr<LockedFile> locked;
  ExpectResult(LockFileForUpdate(file, locked, std::chrono::milliseconds(150)), FileStatus::kBusy);
  EXPECT_EQ(locked, nullptr);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    release.set_value();
  });
  EXPECT_TRUE(LockFileForUpdate(file, locked, std::chrono::seconds(5)).Ok());
  releaser.join();
  holder.join();
}

// Watches the new (temporary) files writes make: learns the last one's name and, `refusing`, makes the
// folder take no new file (no write permission; a sticky folder), so that the file is rewritten in place.
struct NewFiles {
  static inline std::string made;
  static inline bool refuse = false;
  explicit NewFiles(bool refusing = false) { refuse = refusing; }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::createFile> create{
      [](const wchar_t* name, DWORD access, DWORD share, DWORD how) {
        if (how == CREATE_NEW && (made = std::filesystem::path(name).filename().string(), refuse)) {
          SetLastError(ERROR_ACCESS_DENIED);
          return INVALID_HANDLE_VALUE;
        }
        return SystemFileCalls().createFile(name, access, share, how);
      }};
#else
  ScopedFileCall<&FileCalls::openat> create{[](int at, const char* name, int flags, mode_t mode) {
    if ((flags & O_EXCL) != 0 && (made = std::filesystem::path(name).filename().string(), refuse)) {
      errno = EACCES;
      return -1;
    }
    return SystemFileCalls().openat(at, name, flags, mode);
  }};
#endif
};

// Each write call puts down half of what it is given, so that every write has a middle; the first
// time a write has put down part of its bytes, `then` runs, before the write goes on.
struct MidWrite {
  static inline std::function<void()> then;
  static inline std::atomic<bool> armed{false};
  ~MidWrite() { armed = false; }
  static void AfterPart() {
    if (armed.exchange(false)) {
      then();
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

// The ways a write reaches the file: a new file renamed over it, or the file rewritten in place (for a
// file with a second name, or when its folder takes no new file).
struct WritePath {
  const char* name;
  bool secondName = false;
  bool noNewFile = false;
};

void PrintTo(const WritePath& row, std::ostream* out) {
  *out << row.name;
}

class FileWritePaths : public ::testing::TestWithParam<WritePath> {};

// A reader and another writer come while a write is halfway through. The reader gets the file as it
// was or as it is after (or, where the pauses of its wait take no time, finds it busy); the writer
// takes its turn after and edits what the first one left.
TEST_P(FileWritePaths, AReaderHalfwayThroughAWriteSeesItWholeAWriterKeepsIt) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("shared.ini");
  const std::string before = "[S]\r\nk=short\r\n[T]\r\nt=1\r\n";
  const std::string after = "[S]\r\nk=" + std::string(3000, 'w') + "\r\n[T]\r\nt=1\r\n";
  testing::WriteBytes(file, before);
  if (GetParam().secondName) {
    std::filesystem::create_hard_link(file, folder.File("second.ini"));
  }
  const NewFiles newFiles(GetParam().noNewFile);
  std::thread reader;
  std::thread writer;
  std::string seen;
  std::atomic<bool> read{false};
  FileResult readResult;
  {
    const MidWrite seam;
    MidWrite::then = [&] {
      reader = std::thread([&] {
        readResult = platform::ReadWholeFile(file, 1 << 20, seen);
        read = true;
      });
      writer = std::thread([&] { EXPECT_TRUE(ProfileWrite("T", "u", "2", file)); });
      // A moment for both: a reader the writer keeps out is not waited for.
      for (int waited = 0; waited < 50 && !read; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    };
    MidWrite::armed = true;
    EXPECT_TRUE(ProfileWrite("S", "k", std::string(3000, 'w'), file));
    ASSERT_TRUE(reader.joinable());
    reader.join();
    writer.join();
  }
  if (readResult.Ok()) {
    EXPECT_TRUE(seen == before || seen == after || seen == after + "u=2\r\n") << "read " << seen.size();
  } else {
    EXPECT_EQ(readResult.status, FileStatus::kBusy);
  }
  EXPECT_EQ(testing::ReadBytes(file), after + "u=2\r\n");
  if (GetParam().secondName) {
    EXPECT_EQ(testing::ReadBytes(folder.File("second.ini")), after + "u=2\r\n")
        << "the second name was cut off";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWay, FileWritePaths,
                         ::testing::Values(WritePath{"NewFileRenamedOverIt"},
                                           WritePath{"InPlaceForAFileWithASecondName", true},
                                           WritePath{"InPlaceWhenTheFolderTakesNoNewFile", false, true}),
                         [](const auto& param) { return std::string(param.param.name); });

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
    const ScopedFileCall<&FileCalls::pread> midRead([](int fd, void* buffer, size_t size, off_t offset) {
      if (!std::exchange(written, true)) {
        std::thread([] { written = ProfileWrite("S", "k", "new", file); }).join();
      }
      return SystemFileCalls().pread(fd, buffer, size, offset);
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

// The names of `file` this system can give: a second (hard) name, a link to its folder, a drive the
// test run mapped to a folder (QLXW_TEST_MAPPED_DRIVE, e.g. "M:", for QLXW_TEST_MAPPED_FOLDER), and on
// Windows its short (8.3) name and a drive letter substituted for its folder (what `subst` makes).
std::vector<TwoNames> SpellingsOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  std::vector<TwoNames> names{{file.string(), (folder.parent_path() / "second.ini").string(), nullptr}};
  std::filesystem::create_hard_link(file, names.back().second);
  std::error_code failed;
  std::filesystem::create_directory_symlink(folder, folder.parent_path() / "link", failed);
  if (!failed) {
    names.push_back({file.string(), (folder.parent_path() / "link" / file.filename()).string(), nullptr});
  }
  const char* drive = std::getenv("QLXW_TEST_MAPPED_DRIVE");
  const char* mapped = std::getenv("QLXW_TEST_MAPPED_FOLDER");
  if (drive != nullptr && mapped != nullptr) {
    names.push_back({std::string(mapped) + "\\held.ini", std::string(drive) + "\\held.ini", nullptr});
    testing::WriteBytes(names.back().first, "[S]\r\n");  // left there for the next run
  }
#ifdef _WIN32
  std::wstring shortName(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(file.c_str(), shortName.data(), MAX_PATH);
  shortName.resize(length < MAX_PATH ? length : 0);
  if (!shortName.empty() && shortName != file.wstring()) {
    names.push_back({file.string(), std::filesystem::path(shortName).string(), nullptr});
  }
  const DWORD used = GetLogicalDrives();
  for (wchar_t letter = L'Z'; letter > L'D'; --letter) {
    const std::wstring letterDrive{letter, L':'};
    if ((used & (1u << (letter - L'A'))) == 0 &&
        DefineDosDeviceW(0, letterDrive.c_str(), folder.c_str()) != FALSE) {
      const std::shared_ptr<void> undo(nullptr, [letterDrive](void*) {
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, letterDrive.c_str(), nullptr);
      });
      const std::wstring substituted = letterDrive + L"\\" + file.filename().wstring();
      if (GetFileAttributesW(substituted.c_str()) != INVALID_FILE_ATTRIBUTES) {  // Wine finds no file there
        names.push_back({file.string(), std::filesystem::path(substituted).string(), undo});
      }
      break;
    }
  }
#endif
  return names;
}

// Writers that name one file differently still take turns: the lock is the file's, not its name's.
TEST(FileLockSpellings, TwoNamesOfOneFileShareItsLock) {
  testing::ScratchFolder folder;
  const std::filesystem::path file = folder.Path() / "a folder with a long name" / "held.ini";
  std::filesystem::create_directory(file.parent_path());
  testing::WriteBytes(file.string(), "[S]\r\n");
  for (const TwoNames& names : SpellingsOf(file)) {
    SCOPED_TRACE(names.second);
    std::promise<void> release;
    std::thread holder = HoldInAnotherThread(names.first, release.get_future().share());
    std::unique_ptr<LockedFile> locked;
    ExpectResult(LockFileForUpdate(names.second, locked, std::chrono::milliseconds(100)), FileStatus::kBusy);
    release.set_value();
    holder.join();
  }
}

// A read told the size a query found a moment ago gives the file as it is now, whatever happened
// since; a path that turned into something else than a regular file is refused, never waited on.
TEST(FileReadOfKnownSize, GivesTheFileAsItIsNowOrRefusesWhatIsNoFile) {
  testing::ScratchFolder folder;
  const std::string file = folder.File("sized.ini");
  const std::string content = "[S]\r\nk=v\r\n";
  testing::WriteBytes(file, content);
  struct Row {
    std::string path;
    std::size_t expected;  // the size found earlier: as now, less, more, none
    FileStatus status;
    std::size_t limit = 1000;
  };
  std::vector<Row> rows{{file, 10, FileStatus::kOk},
                        {file, 5, FileStatus::kOk},
                        {file, 40, FileStatus::kOk},
                        {file, 0, FileStatus::kOk},
                        {file, 10, FileStatus::kTooLarge, 9}};
#ifndef _WIN32
  rows.push_back({"/dev/zero", 11, FileStatus::kAccessDenied});  // a device that never ends
  rows.push_back({"/dev/null", 0, FileStatus::kAccessDenied});
  // Sparse: no disk taken. Its size does not fit a 32-bit size_t; cut to one, it would look small.
  const std::string beyond = folder.File("beyond.ini");
  testing::WriteBytes(beyond, content);
  std::filesystem::resize_file(beyond, (std::uintmax_t{1} << 32) + 10);
  rows.push_back({beyond, 10, FileStatus::kTooLarge});
#endif
  for (const Row& row : rows) {
    std::string bytes = "left over";
    EXPECT_EQ(platform::ReadWholeFileOfSize(row.path, row.expected, row.limit, bytes).status, row.status)
        << row.path << " " << row.expected;
    EXPECT_TRUE(row.status != FileStatus::kOk || bytes == content) << row.expected;
  }
}

// A writer killed before its rename leaves its temporary file; the next writer of that file in a new
// process removes it, but never the temporary file of a writer still at work. (The names are learnt
// from writes of a file of the same name in another folder, where this process has written before.)
TEST(FileLeftovers, ADeadWritersTemporaryFileGoesALiveWritersStays) {
  testing::ScratchFolder elsewhere;
  testing::ScratchFolder folder;
  std::vector<std::string> made;
  for (const int i : {0, 1}) {
    const NewFiles names;
    EXPECT_TRUE(ProfileWrite("S", "k", std::to_string(i), elsewhere.File("host.ini")));
    made.push_back(NewFiles::made);
  }
  const std::string& live = made[1];
  testing::WriteBytes(folder.File(made[0]), "[S]\r\nk=hal");  // a dead writer's
  testing::WriteBytes(folder.File(live), "[S]\r\nk=being");
#ifdef _WIN32
  // A live writer keeps its file open, sharing no deletion.
  const HANDLE writer = CreateFileW(std::filesystem::path(folder.File(live)).wstring().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const std::shared_ptr<void> closing(nullptr, [&](void*) { CloseHandle(writer); });
#else
  // A live writer holds the lock on its file.
  const int writer = ::open(folder.File(live).c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  const std::shared_ptr<void> closing(nullptr, [&](void*) { ::close(writer); });
#endif
  EXPECT_TRUE(ProfileWrite("S", "k", "v", folder.File("host.ini")));
  EXPECT_EQ(testing::NamesIn(folder.Path()), (std::set<std::string>{"host.ini", live}));
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
  EXPECT_EQ(testing::NamesIn(folder.Path()), std::set<std::string>{"open.ini"});
}
#endif

}  // namespace
}  // namespace qlxw
