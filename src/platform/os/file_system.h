#pragma once
// The library's file-system object, one per thread: existence tests, absolute paths, parent folders,
// the last component, joining, and creating one folder. Paths are UTF-8 with the platform's separator.
#include <cstdint>
#include <memory>
#include <string>

namespace qlxw::platform {

// The separator paths are joined with: '\' on Windows, '/' elsewhere.
char PathSeparator() noexcept;

class FileSystemObject {
 public:
  bool FolderExists(const std::string& path) const;
  bool FileExists(const std::string& path) const;
  // The file's length in bytes; 0 when it cannot be read.
  std::uintmax_t FileLength(const std::string& path) const;
  // A relative path is taken against the process's current folder; "." and ".." are resolved.
  std::string GetAbsolutePathName(const std::string& path) const;
  // "" for a path without a parent (a root, or a single relative name).
  std::string GetParentFolderName(const std::string& path) const;
  // The last component, whole (name and extension); "" for a root.
  std::string GetLastComponent(const std::string& path) const;
  // Joins with exactly one separator between the parts; an empty part gives the other.
  std::string BuildPath(const std::string& path, const std::string& name) const;
  // Creates one folder whose parent exists. Fails as the scripting runtime does: 58 when something is
  // already there, 76 when the parent is missing, 70 without the right, 75 otherwise.
  void CreateFolder(const std::string& path) const;
};

// Created on the first call on a thread, the same object afterwards.
std::shared_ptr<FileSystemObject> GetFileSystemObject();

}  // namespace qlxw::platform
