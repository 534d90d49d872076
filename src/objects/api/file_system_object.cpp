#include "api/file_system_object.h"

#include <filesystem>
#include <system_error>

#include "os/thread_state.h"
#include "values/created_on_first_use.h"

namespace qlxw {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return {std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size())};
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

}  // namespace

bool FileSystemObject::FolderExists(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::is_directory(PathOf(path), error);
}

bool FileSystemObject::FileExists(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(PathOf(path), error);
}

std::string FileSystemObject::GetAbsolutePathName(const std::string& path) const {
  std::error_code error;
  const fs::path absolute = fs::absolute(PathOf(path), error);
  return error ? path : Utf8Of(absolute.lexically_normal());
}

std::string FileSystemObject::GetParentFolderName(const std::string& path) const {
  fs::path parsed = PathOf(path);
  if (!parsed.has_relative_path()) {
    return {};
  }
  if (!parsed.has_filename()) {
    parsed = parsed.parent_path();  // "a/b/" names the folder b
  }
  return Utf8Of(parsed.parent_path());
}

std::string FileSystemObject::BuildPath(const std::string& path, const std::string& name) const {
  if (path.empty()) {
    return name;
  }
  if (name.empty()) {
    return path;
  }
  std::string joined = path;
  const char separator = static_cast<char>(fs::path::preferred_separator);
  const bool pathEnds = joined.back() == '/' || joined.back() == separator;
  const bool nameStarts = name.front() == '/' || name.front() == separator;
  if (pathEnds && nameStarts) {
    joined.pop_back();
  } else if (!pathEnds && !nameStarts) {
    joined.push_back(separator);
  }
  return joined + name;
}

bool FileSystemObject::CreateFolder(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::create_directory(PathOf(path), error) && !error;
}

std::shared_ptr<FileSystemObject> GetFileSystemObject() {
  struct Held {
    std::shared_ptr<FileSystemObject> object;
  };
  return CreatedOnFirstUse(platform::ThreadState<Held, platform::EndStage::kHostObjects>::Get().object);
}

}  // namespace qlxw
