#include "profile/profile_file_access.h"

#include <memory>

#include "os/files.h"
#include "os/thread_state.h"
#include "profile/profile_write_error.h"

namespace qlxw::profile {
namespace {

// One read and one write buffer per thread; large files do not keep their memory.
struct ProfileBuffers {
  std::string read;
  std::string write;
};

// Kept until everything else of the thread has ended: INI managers write their defaults back then.
using ProfileBuffersSlot = platform::ThreadState<ProfileBuffers, platform::EndStage::kBuffers>;

void ReleaseBuffer(std::string& buffer) {
  constexpr std::size_t kKeptBytes = std::size_t{4} << 20;
  if (buffer.capacity() > kKeptBytes) {
    std::string().swap(buffer);
  }
}

}  // namespace

ProfileFileBytes::ProfileFileBytes(const std::string& fileName) : buffer_(ProfileBuffersSlot::Get().read) {
  read_ = platform::ReadWholeFile(fileName, kMaxProfileBytes, buffer_).Ok();
}

ProfileFileBytes::~ProfileFileBytes() {
  ReleaseBuffer(buffer_);
}

std::optional<std::string_view> ProfileFileBytes::Bytes() const {
  return read_ ? std::optional<std::string_view>(buffer_) : std::nullopt;
}

bool ReadProfileFile(const std::string& fileName, std::size_t expectedSize, std::string& bytes) {
  return platform::ReadWholeFileOfSize(fileName, expectedSize, kMaxProfileBytes, bytes).Ok();
}

bool UpdateProfileFile(const std::string& fileName, const ProfileEdit& edit) {
  std::unique_ptr<platform::LockedFile> file;
  if (const platform::FileResult locked = platform::LockFileForUpdate(fileName, file); !locked.Ok()) {
    NoteProfileWriteFailed(locked);
    return false;
  }
  ProfileBuffers& buffers = ProfileBuffersSlot::Get();
  platform::FileResult result = file->ReadAll(kMaxProfileBytes, buffers.read);
  if (result.Ok() && edit(buffers.read, buffers.write) && buffers.write != buffers.read) {
    result = file->Replace(buffers.write);
  }
  ReleaseBuffer(buffers.read);
  ReleaseBuffer(buffers.write);
  if (!result.Ok()) {
    NoteProfileWriteFailed(result);
  }
  return result.Ok();
}

}  // namespace qlxw::profile
