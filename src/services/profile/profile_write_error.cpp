#include "profile/profile_write_error.h"

#include "os/thread_state.h"

namespace qlxw {
namespace {

// Made by the first failure only, so that writes that succeed never reach it; kept to the last stage,
// as INI managers ending write their defaults back.
using WriteErrorSlot = platform::ThreadState<ProfileWriteError, platform::EndStage::kBuffers>;

}  // namespace

ProfileWriteError LastProfileWriteError() noexcept {
  const ProfileWriteError* error = WriteErrorSlot::Find();
  return error != nullptr ? *error : ProfileWriteError{};
}

void ClearProfileWriteError() noexcept {
  if (ProfileWriteError* error = WriteErrorSlot::Find()) {
    *error = {};
  }
}

void NoteProfileWriteRefused(WriteRefusal refusal) {
  WriteErrorSlot::Get() = {refusal, platform::FileFailure::kNone, 0};
}

void NoteProfileWriteFailed(const platform::FileResult& result) {
  WriteErrorSlot::Get() = {WriteRefusal::kNone, platform::FileFailureOf(result), result.systemError};
}

}  // namespace qlxw
