#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "os/running_program.h"

namespace qlxw::platform {

std::string RunningProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path().string() : self.parent_path().string();
}

bool FolderWritable(const std::string& path) {
  return access(path.c_str(), W_OK) == 0;
}

std::string SystemErrorText(int error) {
  return std::strerror(error);
}

}  // namespace qlxw::platform
