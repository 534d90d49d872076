// Every file operation of the services, failed at each of its system calls in turn (once, or from that
// call on; with whole or halved transfers; for each error the operation tells apart): the file holds
// the old or the new content, no temporary file stays, the error is the documented one, and the same
// operation succeeds once the fault is gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/shared_ini.h"
#include "diag/trace.h"
#include "diag/trace_settings.h"
#include "errors/lib_error.h"
#include "folders/folder_settings_store.h"
#include "os/file_call_countdown.h"
#include "os/file_failure.h"
#include "os/files.h"
#include "profile/profile.h"
#include "profile/profile_write_error.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

using platform::FaultMode;
using platform::FileCallCountdown;
using platform::FileFailure;

// An error the system reports, and what each kind of operation documents for it.
struct Cause {
  int error;
  FileFailure kind;     // what a profile write records
  std::int32_t number;  // what the trace raises
};

#ifdef _WIN32
const Cause kCauses[] = {{ERROR_DISK_FULL, FileFailure::kDiskFull, kErrDiskFull},
                         {ERROR_ACCESS_DENIED, FileFailure::kAccessDenied, kErrPermissionDenied},
                         {ERROR_IO_DEVICE, FileFailure::kIoError, kErrDeviceIo}};
#else
const Cause kCauses[] = {{ENOSPC, FileFailure::kDiskFull, kErrDiskFull},
                         {EACCES, FileFailure::kAccessDenied, kErrPermissionDenied},
                         {EIO, FileFailure::kIoError, kErrDeviceIo}};
#endif

// What an operation reported: done, or the failure it records or raises.
struct Outcome {
  bool done;
  int code;
};

struct Operation {
  const char* name;
  std::optional<std::string> before;  // none: no file yet
  std::string after;
  // Runs the operation on the file, calling `arm` where the swept work starts.
  std::function<Outcome(const std::string& file, const std::function<void()>& arm)> run;
  bool raisesNumbers = false;  // VB error numbers rather than the failure a profile write records
  bool appends = false;        // the trace: a record cut short may stay
  bool silent = false;         // the write-back tells no one
};

bool Documented(const Operation& op, const Outcome& outcome, const Cause& cause) {
#ifdef _WIN32
  // A handle whose type cannot be asked is taken for no file.
  if (outcome.code ==
      (op.raisesNumbers ? kErrPathFileAccess : static_cast<int>(FileFailure::kNotARegularFile))) {
    return true;
  }
#else
  // The writers' lock reads EACCES as held by another writer.
  if (cause.error == EACCES && !op.raisesNumbers && outcome.code == static_cast<int>(FileFailure::kBusy)) {
    return true;
  }
#endif
  return outcome.code == (op.raisesNumbers ? cause.number : static_cast<int>(cause.kind));
}

Outcome Recorded(bool done) {
  return {done, static_cast<int>(LastProfileWriteError().file)};
}

auto Write(const char* section, std::optional<const char*> key, std::optional<const char*> value) {
  return [=](const std::string& file, const std::function<void()>& arm) {
    ClearProfileWriteError();
    arm();
    return Recorded(ProfileWrite(section, key, value, file));
  };
}

// A host reads a default, then its state ends (as when its thread ends): its manager writes it back.
Outcome WriteBack(const std::string& file, const std::function<void()>& arm) {
  SetMainVer(5);
  SetINIFileNameOnce(file);
  GetSharedINI()->LoadINIString("U", "u", "d");
  arm();
  ResetLibraryState();
  return {true, 0};
}

Outcome TraceRecord(const std::string& file, const std::function<void()>& arm) {
  ThisThreadTraceSettings().logFileName = file;
  SetTraceSwitch(true);
  arm();
  const std::int32_t number = testing::ErrorNumberOf([] { WriteTraceLine("record"); });
  SetTraceSwitch(false);
  return {number == 0, number};
}

const std::string kOld = "[S]\r\nk=old\r\n[T]\r\nt=1\r\n";

Outcome LockAndRead(const std::string& file, const std::function<void()>& arm) {
  arm();
  std::unique_ptr<platform::LockedFile> locked;
  platform::FileResult result = platform::LockFileForUpdate(file, locked);
  std::string bytes;
  if (result.Ok()) {
    result = locked->ReadAll(1 << 20, bytes);
  }
  locked.reset();
  const bool whole = !result.Ok() || bytes == kOld;
  return {result.Ok() && whole, whole ? static_cast<int>(platform::FileFailureOf(result)) : -1};
}

std::vector<Operation> Operations() {
  std::vector<Operation> ops{
      {"KeySet", kOld, "[S]\r\nk=new\r\n[T]\r\nt=1\r\n", Write("S", "k", "new")},
      {"KeySetInANewFile", std::nullopt, "[S]\r\nk=new\r\n", Write("S", "k", "new")},
      {"KeyDelete", kOld, "[S]\r\n[T]\r\nt=1\r\n", Write("S", "k", std::nullopt)},
      {"SectionDelete", kOld, "[S]\r\nk=old\r\n", Write("T", std::nullopt, std::nullopt)},
      {"DefaultWrittenBack", kOld, kOld + "[U]\r\nu=d\r\n", WriteBack, false, false, true},
      {"TraceAppend", "earlier\r\n", "earlier\r\n\"record\"\r\n", TraceRecord, true, true},
      {"Lock", kOld, kOld, LockAndRead},
  };
#ifndef _WIN32  // Windows keeps the folder settings in the registry
  ops.push_back({"FolderSettingsStore", "[Folders]\r\nWork=/old\r\n", "[Folders]\r\nWork=/new\r\n",
                 [](const std::string& file, const std::function<void()>& arm) {
                   ::setenv("QLXW_SETTINGS_FILE", file.c_str(), 1);
                   arm();
                   const std::int32_t number =
                       testing::ErrorNumberOf([] { SaveFolderSetting("Work", "/new"); });
                   ::unsetenv("QLXW_SETTINGS_FILE");
                   return Outcome{number == 0, number};
                 },
                 true});
#endif
  return ops;
}

std::optional<std::string> Content(const std::string& file) {
  return std::filesystem::exists(file) ? std::optional(testing::ReadBytes(file)) : std::nullopt;
}

struct Case {
  int at;
  FaultMode mode;
  Cause cause;
  bool halved;
};

// What went wrong in one case; empty when nothing did.
std::string Check(const Operation& op, const Case& c) {
  const testing::ScratchFolder folder;
  const std::string file = folder.File("host.ini");
  if (op.before) {
    testing::WriteBytes(file, *op.before);
  }
  const Outcome outcome =
      op.run(file, [&] { FileCallCountdown::Arm(c.at, c.mode, c.cause.error, c.halved); });
  FileCallCountdown::Disarm();
  const std::optional<std::string> now = Content(file);
  // The empty new file a failed write made stays only while every call fails: the writer cannot tell it
  // is still its own, nor remove it.
  const bool keptEmpty = !op.before && now == "" && c.mode == FaultMode::kFromThenOn;
  if (op.appends ? !now || !now->starts_with(*op.before) || !op.after.starts_with(*now)
                 : now != op.before && now != op.after && !keptEmpty) {
    return "damaged: " + now.value_or("<no file>");
  }
  if (outcome.done && !op.silent && now != op.after) {
    return "said done, but the file holds " + now.value_or("<no file>");
  }
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    if (entry.path().filename() != "host.ini" && !FileCallCountdown::FailedToRemove()) {
      return "left " + entry.path().filename().string();
    }
  }
  if (!op.silent && outcome.done && FileCallCountdown::FailedFatally()) {
    return "a failed call was ignored";
  }
  if (!op.silent && !outcome.done && !Documented(op, outcome, c.cause)) {
    return "reported " + std::to_string(outcome.code);
  }
  const std::string expected = op.appends ? now.value_or("") + op.after.substr(op.before->size()) : op.after;
  if (!op.run(file, [] {}).done || Content(file) != expected) {
    return "not done once the fault was gone";
  }
  return {};
}

// Halved transfers matter to a fault that comes once: a write cut short, then the disk full.
const std::vector<FaultMode> kHalvedModes{FaultMode::kOnce};
const std::vector<FaultMode> kWholeModes{FaultMode::kOnce, FaultMode::kFromThenOn};

TEST(FileFaultSweep, EveryCallOfEveryOperationFailsCleanly) {
  const FileCallCountdown countdown;
  int cases = 0;
  int failures = 0;
  for (const Operation& op : Operations()) {
    for (const bool halved : {false, true}) {
      {
        const testing::ScratchFolder folder;
        const std::string file = folder.File("host.ini");
        if (op.before) {
          testing::WriteBytes(file, *op.before);
        }
        ASSERT_TRUE(op.run(file, [&] { FileCallCountdown::Arm(0, FaultMode::kOnce, 0, halved); }).done)
            << op.name;
      }
      const int calls = FileCallCountdown::Calls();
      ASSERT_GT(calls, 0) << op.name;
      for (int at = 1; at <= calls; ++at) {
        for (const FaultMode mode : halved ? kHalvedModes : kWholeModes) {
          // Each error is told apart by a fault that comes once; the others are swept with one error.
          const std::span causes(kCauses, mode == FaultMode::kOnce && !halved ? std::size(kCauses) : 1);
          for (const Cause& cause : causes) {
            ++cases;
            if (const std::string wrong = Check(op, {at, mode, cause, halved});
                !wrong.empty() && ++failures <= 40) {
              ADD_FAILURE() << op.name << ": call " << at << " of " << calls << (halved ? " (halved)" : "")
                            << (mode == FaultMode::kOnce ? " once" : " from then on") << ", error "
                            << cause.error << ": " << wrong;
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
  std::cout << "file fault sweep: " << cases << " cases (operation, call, mode, error)\n";
}

}  // namespace
}  // namespace qlxw
