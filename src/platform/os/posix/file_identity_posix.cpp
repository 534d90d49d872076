#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <array>
#include <ctime>

#include "os/file_calls.h"
#include "os/file_identity.h"
#include "os/file_stamp_margin.h"
#include "os/posix/stamp_of.h"

namespace qlxw::platform {
namespace {

// Kinds of file system (statfs's f_type) served over a network or by a user-space program.
constexpr std::array<unsigned long, 10> kRemoteKinds{
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE
    0x00C36400,  // Ceph
    0x01021997,  // 9P
    0x5346414F,  // AFS
    0x47504653,  // GPFS
    0x0BD00BD0,  // Lustre
};

}  // namespace

std::optional<FileStamp> QueryFileStamp(const std::string& path) {
  struct stat info {};
  if (path.empty() || FileCallTable().stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return StampOf(info);
}

std::int64_t FileClockNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return StampTicks(now);
}

bool StampSettled(const FileStamp& stamp, std::int64_t queriedAt) {
  return detail::StampSettledAfter(stamp.modified, stamp.changed, queriedAt, kStampTicksASecond);
}

bool StampsFollowChanges(const std::string& path) {
  struct statfs info {};
  if (FileCallTable().statfs(path.c_str(), &info) != 0) {
    return false;
  }
  const auto kind = static_cast<unsigned long>(info.f_type);
  return std::ranges::find(kRemoteKinds, kind) == kRemoteKinds.end();
}

}  // namespace qlxw::platform
