#include "os/file_system.h"

#include <filesystem>
#include <system_error>

#include "errors/lib_error.h"
#include "os/thread_state.h"
#include "values/created_on_first_use.h"

namespace qlxw::platform {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return {std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size())};
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// Only the system's own separator joins: on Windows "C:\a/" and "b" give "C:\a/\b", as the
// scripting runtime joins them.
bool IsSeparator(char c) {
  return c == PathSeparator();
}

// "a/b/" names the folder b, as "a/b" does.
fs::path WithoutTrailingSeparator(const std::string& path) {
  fs::path parsed = PathOf(path);
  if (parsed.has_relative_path() && !parsed.has_filename()) {
    parsed = parsed.parent_path();
  }
  return parsed;
}

std::int32_t ErrorNumberOf(const std::error_code& error) {
  if (error == std::errc::file_exists || error == std::errc::not_a_directory) {
    return kErrFileAlreadyExists;
  }
  if (error == std::errc::no_such_file_or_directory) {
    return kErrPathNotFound;
  }
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
      error == std::errc::read_only_file_system) {
    return kErrPermissionDenied;
  }
  return kErrPathFileAccess;
}

}  // namespace

char PathSeparator() noexcept {
  return static_cast<char>(fs::path::preferred_separator);
}

bool FileSystemObject::FolderExists(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::is_directory(PathOf(path), error);
}

bool FileSystemObject::FileExists(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(PathOf(path), error);
}

std::uintmax_t FileSystemObject::FileLength(const std::string& path) const {
  std::error_code error;
  const std::uintmax_t length = path.empty() ? 0 : fs::file_size(PathOf(path), error);
  return error ? 0 : length;
}

std::string FileSystemObject::GetAbsolutePathName(const std::string& path) const {
  std::error_code error;
  const fs::path absolute = fs::absolute(PathOf(path), error);
  if (error) {
    return path;
  }
  fs::path normal = absolute.lexically_normal();
  if (normal.has_relative_path() && !normal.has_filename()) {
    normal = normal.parent_path();  // no separator at the end, as the scripting runtime gives it
  }
  return Utf8Of(normal);
}

std::string FileSystemObject::GetParentFolderName(const std::string& path) const {
  const fs::path parsed = WithoutTrailingSeparator(path);
  if (!parsed.has_relative_path()) {
    return {};
  }
  return Utf8Of(parsed.parent_path());
}

std::string FileSystemObject::GetLastComponent(const std::string& path) const {
  const fs::path parsed = WithoutTrailingSeparator(path);
  return parsed.has_relative_path() ? Utf8Of(parsed.filename()) : std::string();
}

std::string FileSystemObject::BuildPath(const std::string& path, const std::string& name) const {
  if (path.empty()) {
    return name;
  }
  if (name.empty()) {
    return path;
  }
  std::string joined = path;
  const bool pathEnds = IsSeparator(joined.back());
  const bool nameStarts = IsSeparator(name.front());
  if (pathEnds && nameStarts) {
    joined.pop_back();
  } else if (!pathEnds && !nameStarts) {
    joined.push_back(PathSeparator());
  }
  return joined + name;
}

void FileSystemObject::CreateFolder(const std::string& path) const {
  // Its errors name no source, as the scripting runtime's: the caller says whose work failed.
  if (path.empty()) {
    throw AutomationErrorWithoutSource(kErrPathNotFound);
  }
  std::error_code error;
  if (fs::create_directory(PathOf(path), error) && !error) {
    return;
  }
  if (!error) {
    error = std::make_error_code(std::errc::file_exists);  // it was there already
  }
  const std::int32_t number = ErrorNumberOf(error);
  throw AutomationErrorWithoutSource(number);
}

std::shared_ptr<FileSystemObject> GetFileSystemObject() {
  struct Held {
    std::shared_ptr<FileSystemObject> object;
  };
  return CreatedOnFirstUse(ThreadState<Held, EndStage::kHostObjects>::Get().object);
}

}  // namespace qlxw::platform
