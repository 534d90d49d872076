#pragma once
// Writes the library keeps silent, as hosts expect, made loud: a command that reports a write checks
// that it was done, and says why when it was not.
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/commands.h"
#include "profile/profile_write_error.h"

namespace qlxw::cli {

// The system's own words for its error number.
inline std::string SystemMessage(int error) {
#ifdef _WIN32
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message(text == nullptr ? "" : text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : message;
#else
  return std::strerror(error);
#endif
}

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
  return error.systemError != 0 ? "I/O error: " + SystemMessage(error.systemError) : "I/O error";
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
