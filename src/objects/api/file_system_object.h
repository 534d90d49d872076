#pragma once
// The library's file-system helper, one per thread: existence tests, absolute paths, parent folders,
// joining and creating folders. Paths are UTF-8 with the platform's separator.
#include <memory>
#include <string>

namespace qlxw {

class FileSystemObject {
 public:
  bool FolderExists(const std::string& path) const;
  bool FileExists(const std::string& path) const;
  std::string GetAbsolutePathName(const std::string& path) const;
  // "" for a path without a parent.
  std::string GetParentFolderName(const std::string& path) const;
  // Joins with one separator between the parts.
  std::string BuildPath(const std::string& path, const std::string& name) const;
  // Creates one folder (its parent must exist); false when it cannot.
  bool CreateFolder(const std::string& path) const;
};

// Created on the first call on a thread, the same object afterwards.
std::shared_ptr<FileSystemObject> GetFileSystemObject();

}  // namespace qlxw
