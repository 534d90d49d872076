#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "os/files.h"
#include "os/shell_folders.h"
#include "text/lines.h"

namespace qlxw::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMachineWideFolder = "/var/lib/qlxw";
// xdg-user-dirs writes a few hundred bytes; a larger file is not one of its files.
constexpr std::size_t kMaxUserDirsBytes = std::size_t{64} << 10U;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string Home() {
  return Environment("HOME");
}

// $XDG_<name>, else ~/<fallback>.
fs::path XdgFolder(const char* variable, const char* fallback) {
  const std::string given = Environment(variable);
  if (!given.empty() && fs::path(given).is_absolute()) {
    return given;
  }
  return fs::path(Home()) / fallback;
}

// XDG_DOCUMENTS_DIR as the xdg-user-dirs tool writes it: XDG_DOCUMENTS_DIR="$HOME/Documents", or an
// absolute path; "" when the line is missing or the file cannot be read as a small regular file.
std::string DocumentsFromUserDirs() {
  std::string bytes;
  const std::string file = (XdgFolder("XDG_CONFIG_HOME", ".config") / "user-dirs.dirs").string();
  if (!ReadWholeFile(file, kMaxUserDirsBytes, bytes).Ok()) {
    return {};
  }
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  for (const std::string_view line : Lines(bytes)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) {
      continue;
    }
    std::string value(line.substr(start + kKey.size()));
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) {
      value.pop_back();
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    constexpr std::string_view kHome = "$HOME";
    if (value.compare(0, kHome.size(), kHome) == 0) {
      std::string rest = value.substr(kHome.size());
      while (!rest.empty() && rest.front() == '/') {
        rest.erase(0, 1);
      }
      return rest.empty() ? Home() : (fs::path(Home()) / rest).string();
    }
    return value.empty() || value.front() != '/' ? std::string() : value;
  }
  return {};
}

std::string DocumentsFolder() {
  if (std::string given = Environment("QLXW_DOCUMENTS_DIR"); !given.empty()) {
    return given;
  }
  if (std::string fromUserDirs = DocumentsFromUserDirs(); !fromUserDirs.empty()) {
    return fromUserDirs;
  }
  return (fs::path(Home()) / "Documents").string();
}

bool UsableMachineWide(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return fs::is_directory(folder, error) && access(folder.c_str(), W_OK) == 0;
}

std::string CommonAppDataFolder() {
  if (std::string given = Environment("QLXW_COMMON_APPDATA"); !given.empty()) {
    return given;
  }
  if (UsableMachineWide(kMachineWideFolder)) {
    return kMachineWideFolder;
  }
  return (XdgFolder("XDG_DATA_HOME", ".local/share") / "qlxw").string();
}

}  // namespace

std::string SpecialFolderPath(std::int32_t csidl) {
  switch (csidl) {
    case kCsidlPersonal:
      return DocumentsFolder();
    case kCsidlCommonAppData:
      return CommonAppDataFolder();
    default:
      return {};
  }
}

std::string LibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&LibraryFolder), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  std::error_code error;
  const fs::path file = fs::absolute(info.dli_fname, error);
  return error ? std::string() : file.parent_path().lexically_normal().string();
}

}  // namespace qlxw::platform
