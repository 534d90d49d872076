#pragma once
// A file's stamp as the system's own status of it gives it (stat or fstat alike).
#include <sys/stat.h>

#include <cstdint>
#include <ctime>

#include "os/file_identity.h"

namespace qlxw::platform {

inline constexpr std::int64_t kStampTicksASecond = 1'000'000'000;

inline std::int64_t StampTicks(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * kStampTicksASecond + time.tv_nsec;
}

inline FileStamp StampOf(const struct stat& info) {
  return FileStamp{.volume = static_cast<std::uint64_t>(info.st_dev),
                   .fileIndex = static_cast<std::uint64_t>(info.st_ino),
                   .size = static_cast<std::uint64_t>(info.st_size),
                   .mode = static_cast<std::uint32_t>(info.st_mode),
                   .modified = StampTicks(info.st_mtim),
                   .changed = StampTicks(info.st_ctim)};
}

}  // namespace qlxw::platform
