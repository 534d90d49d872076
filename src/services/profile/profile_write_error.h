#pragma once
// Why this thread's last profile write was not done. A write stays silent to hosts (it only returns
// false); a caller that must say why asks here afterwards, as a Windows program asks GetLastError after
// WritePrivateProfileString. A failure stays recorded until the caller clears it, so that one question
// covers a run of writes.
#include "os/file_failure.h"

namespace qlxw {

enum class WriteRefusal {
  kNone,     // not refused: the file's failure tells
  kText,     // a line break or NUL in a name or value, or a name a read would not find again
  kTooLong,  // a value longer than its read takes back whole
};

struct ProfileWriteError {
  WriteRefusal refusal = WriteRefusal::kNone;
  platform::FileFailure file = platform::FileFailure::kNone;
  int systemError = 0;  // the system's number behind a file failure

  bool Failed() const noexcept {
    return refusal != WriteRefusal::kNone || file != platform::FileFailure::kNone;
  }
};

// The last failure recorded on this thread since it was cleared; none when there was none.
ProfileWriteError LastProfileWriteError() noexcept;
void ClearProfileWriteError() noexcept;

// Records a write that was not done: by the profile layer, and by layers above that refuse a write
// by their own rules.
void NoteProfileWriteRefused(WriteRefusal refusal);
void NoteProfileWriteFailed(const platform::FileResult& result);

}  // namespace qlxw
