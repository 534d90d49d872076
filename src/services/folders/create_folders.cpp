#include "folders/create_folders.h"

#include <vector>

#include "diag/trace.h"
#include "os/file_system.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

struct FolderReadsState {
  FolderReads reads = FolderReads::kAsHostsRead;
};

FolderReadsState& ThisThreadFolderReads() {
  return platform::ThreadState<FolderReadsState, platform::EndStage::kSettings>::Get();
}

struct WalkOptions {
  std::string_view emptySource;
  bool skipExisting;
  bool traced;
};

void CreateMissingLevels(const std::string& path, const WalkOptions& options) {
  const auto fso = platform::GetFileSystemObject();
  std::string current;
  try {
    current = fso->GetAbsolutePathName(path);
    std::vector<std::string> pending;
    while (!fso->FolderExists(current)) {
      const std::string parent = fso->GetParentFolderName(current);
      if (parent.empty() || parent == current) {
        throw AutomationErrorWithoutSource(kErrPathNotFound);  // the root is missing: nothing above it
      }
      pending.push_back(fso->GetLastComponent(current));
      current = parent;
    }
    while (!pending.empty()) {
      current = fso->BuildPath(current, pending.back());
      if (!options.skipExisting || !fso->FolderExists(current)) {
        if (options.traced) {
          Trace("Common.CreateDir >> : ", std::string_view(current));
        }
        fso->CreateFolder(current);
        if (options.traced) {
          Trace("Common.CreateDir << : ", std::string_view(current));
        }
      }
      pending.pop_back();
    }
  } catch (const LibError& error) {
    throw FolderCreationError(error, current, options.emptySource);
  }
}

}  // namespace

LibError FolderCreationError(const LibError& error, const std::string& folder, std::string_view emptySource) {
  return {error.Number(), error.Description() + " [folder:" + folder + "] ",
          error.Source().empty() ? std::string(emptySource) : error.Source(), error.Help()};
}

void BruteForceCreateDir(const std::string& path) {
  const auto fso = platform::GetFileSystemObject();
  if (fso->FolderExists(path)) {
    return;
  }
  CreateMissingLevels(path, {"modCommon", false, false});
}

void CreateDirTraced(const std::string& path, std::string_view source) {
  CreateMissingLevels(path, {source, true, true});
}

void SetFolderReads(FolderReads reads) {
  ThisThreadFolderReads().reads = reads;
}

FolderReads CurrentFolderReads() {
  return ThisThreadFolderReads().reads;
}

}  // namespace qlxw
