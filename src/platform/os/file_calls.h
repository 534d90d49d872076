#pragma once
// The system calls of the file layer, reached through one table per platform (os/posix/file_calls.h,
// os/windows/file_calls.h) so that a test can make any of them fail: a rename refused, a short write,
// a flush that fails, a lock never obtained. The file layer makes one indirect call per system call.
//
// A new kind of file access adds its calls as entries of the table, never a direct call.
#include <type_traits>
#include <utility>

#ifdef _WIN32
#include "os/windows/file_calls.h"
#else
#include "os/posix/file_calls.h"
#endif

namespace qlxw::platform {

// Replaces one entry of the table while it lives, and puts the previous one back when it ends:
//
//   ScopedFileCall<&FileCalls::fsync> failingFlush([](int) { errno = EIO; return -1; });
//
// For tests: install it while no other thread is using files. A replacement that fails only some calls
// reaches the system's own entry through SystemFileCalls().
template <auto Entry>
class ScopedFileCall {
 public:
  using Call = std::remove_reference_t<decltype(std::declval<FileCalls&>().*Entry)>;

  explicit ScopedFileCall(Call replacement) : saved_(std::exchange(FileCallTable().*Entry, replacement)) {}
  ~ScopedFileCall() { FileCallTable().*Entry = saved_; }
  ScopedFileCall(const ScopedFileCall&) = delete;
  ScopedFileCall& operator=(const ScopedFileCall&) = delete;

 private:
  Call saved_;
};

}  // namespace qlxw::platform
