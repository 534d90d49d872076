#pragma once
// Creating a folder with every missing folder above it, through the thread's file-system object.
#include <string>
#include <string_view>

namespace qlxw {

// Walks up from the absolute form of `path` to the nearest folder that exists, then creates the
// missing levels downwards. A failure is raised again with " [folder:<the level>] " added to its
// description; a path whose root does not exist fails with 76 at the root instead of walking on.
void BruteForceCreateDir(const std::string& path);

// The legacy controller's walk: the same, except that a level found existing on the way down is not
// created again, each creation is traced, and `source` names an error that has no source.
void CreateDirTraced(const std::string& path, std::string_view source);

}  // namespace qlxw
