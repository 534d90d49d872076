#pragma once
// Helpers shared by the tests: a fresh library state per test and a scratch folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "api/library_state.h"
#include "errors/lib_error.h"

namespace qlxw::testing {

class FreshLibraryState : public ::testing::Test {
 protected:
  void SetUp() override { ResetLibraryState(); }
  void TearDown() override { ResetLibraryState(); }
};

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<unsigned> made{0};
    std::random_device entropy;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              ("qlxw-test-" + std::to_string(entropy()) + "-" + std::to_string(made.fetch_add(1)));
      if (std::filesystem::create_directory(path_)) {
        break;
      }
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The names of what the folder holds.
inline std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The number of the LibError the action raises; 0 when it raises none.
inline std::int32_t ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const LibError& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace qlxw::testing
