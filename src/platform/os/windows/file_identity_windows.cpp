#include <windows.h>

#include <string>

#include "os/file_calls.h"
#include "os/file_identity.h"
#include "os/file_stamp_margin.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

constexpr std::int64_t kSecond = 10'000'000;

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

// Not regular files: folders, devices, reparse points such as junctions (which a read does not follow
// the same way every time).
constexpr DWORD kNotRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;

}  // namespace

std::optional<FileStamp> QueryFileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || FileCallTable().getFileAttributesEx(WideFromUtf8(path).c_str(), &data) == FALSE ||
      (data.dwFileAttributes & kNotRegular) != 0) {
    return std::nullopt;
  }
  return FileStamp{.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                   .mode = data.dwFileAttributes,
                   .modified = Ticks(data.ftLastWriteTime),
                   .changed = Ticks(data.ftCreationTime)};
}

std::int64_t FileClockNow() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return Ticks(now);
}

bool StampSettled(const FileStamp& stamp, std::int64_t queriedAt) {
  return detail::StampSettledAfter(stamp.modified, stamp.changed, queriedAt, kSecond);
}

bool StampsFollowChanges(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        FileCallTable().getFullPathName(wide.c_str(), static_cast<DWORD>(full.size()), full.data());
    if (length == 0) {
      return false;
    }
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);
  }
  // A UNC name (\\server\share, \\?\UNC\server\share) is on a network; a drive letter asks the drive.
  const std::wstring_view name(full);
  if (name.starts_with(L"\\\\?\\UNC\\") ||
      (name.starts_with(L"\\\\") && !name.starts_with(L"\\\\?\\") && !name.starts_with(L"\\\\.\\"))) {
    return false;
  }
  const std::size_t drive = name.starts_with(L"\\\\?\\") ? 4 : 0;
  if (name.size() < drive + 2 || name[drive + 1] != L':') {
    return false;
  }
  const std::wstring root = std::wstring(name.substr(drive, 2)) + L"\\";
  const UINT kind = FileCallTable().getDriveType(root.c_str());
  return kind == DRIVE_FIXED || kind == DRIVE_REMOVABLE || kind == DRIVE_RAMDISK;
}

}  // namespace qlxw::platform
