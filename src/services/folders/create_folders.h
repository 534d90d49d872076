#pragma once
// Creating a folder with every missing folder above it, through the thread's file-system object.
#include <string>
#include <string_view>

#include "errors/lib_error.h"

namespace qlxw {

// A creation failure as the walk raises it again: the same number and help reference, " [folder:"
// `folder` "] " after the description, and `emptySource` for a source when it had none.
LibError FolderCreationError(const LibError& error, const std::string& folder, std::string_view emptySource);

// Walks up from the absolute form of `path` to the nearest folder that exists, then creates the
// missing levels downwards. A failure is raised again as FolderCreationError names it, with "modCommon"
// for an empty source; a path whose root does not exist fails with 76 at the root instead of walking on.
void BruteForceCreateDir(const std::string& path);

// How folder reads go on this thread: as hosts read (a missing folder is created, a legacy controller
// stores its folders: the default), or looking only, for a tool that reports where folders are and must
// change nothing. The paths are the same either way.
enum class FolderReads { kAsHostsRead, kLookOnly };
void SetFolderReads(FolderReads reads);
FolderReads CurrentFolderReads();

// The legacy controller's walk: the same, except that a level found existing on the way down is not
// created again, each creation is traced, and `source` names an error that has no source.
void CreateDirTraced(const std::string& path, std::string_view source);

}  // namespace qlxw
