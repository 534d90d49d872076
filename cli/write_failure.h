#pragma once
// Writes the library keeps silent, as hosts expect, made loud: a command that reports a write checks
// that it was done, and says why when it was not.
#include <string>

#include "cli/commands.h"
#include "os/running_program.h"
#include "profile/profile_write_error.h"

namespace qlxw::cli {

inline std::string WriteFailureText(const ProfileWriteError& error) {
  switch (error.refusal) {
    case WriteRefusal::kText:
      return "a line break or NUL in a name or value, or a name a read would not find again";
    case WriteRefusal::kTooLong:
      return "a value longer than a read of the file takes back whole";
    case WriteRefusal::kNone:
      break;
  }
  switch (error.file) {
    case platform::FileFailure::kBadName:
      return "not a valid file name";
    case platform::FileFailure::kPathNotFound:
      return "a folder on the way to the file is missing";
    case platform::FileFailure::kNotARegularFile:
      return "not a regular file (a pipe, a device or a folder)";
    case platform::FileFailure::kAccessDenied:
      return "the file is read-only, or there is no permission to write it";
    case platform::FileFailure::kBusy:
      return "another writer or program held the file for longer than the wait";
    case platform::FileFailure::kTooLarge:
      return "the file is too large";
    case platform::FileFailure::kDiskFull:
      return "no space left on the device";
    case platform::FileFailure::kIoError:
    case platform::FileFailure::kNone:
      break;
  }
  return error.systemError != 0 ? "I/O error: " + platform::SystemErrorText(error.systemError) : "I/O error";
}

// Starts a run of writes that the command will report.
inline void BeginWrites() {
  ClearProfileWriteError();
}

// Fails the command with `what` ("the value was not written") and the reason when a write since
// BeginWrites was not done.
inline void CheckWrites(const std::string& what, const std::string& file) {
  if (const ProfileWriteError error = LastProfileWriteError(); error.Failed()) {
    throw CommandError(what + ": " + WriteFailureText(error), file);
  }
}

}  // namespace qlxw::cli
