#pragma once
// Why a file operation failed, in the kinds a message tells apart. The file seam sorts failures into
// fewer kinds; the rest is read from the system's own number here, in one place.
#include <cstdint>

#include "os/files.h"

namespace qlxw::platform {

enum class FileFailure {
  kNone,
  kBadName,          // not a name a file can have here
  kPathNotFound,     // a folder on the way is missing
  kNotARegularFile,  // a folder, a pipe or a device
  kAccessDenied,     // read-only, or no permission
  kBusy,             // another writer held the lock for longer than the wait
  kTooLarge,         // larger than the reader's limit
  kDiskFull,         // no space left on the device
  kIoError,          // anything else: the system's number tells
};

FileFailure FileFailureOf(const FileResult& result) noexcept;

// The classic automation error a failure is raised as where a caller raises it (the trace, the folder
// settings store): 76, 70, 75, 61 or 57.
std::int32_t AutomationErrorNumberOf(FileFailure failure) noexcept;

}  // namespace qlxw::platform
