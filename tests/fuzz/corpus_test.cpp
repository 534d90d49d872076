// Replays the fuzzer's saved corpus, so that every build checks what the fuzzer once found.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fuzz/profile_fuzz_target.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

TEST(FuzzCorpus, EveryInputKeepsTheProfileRules) {
  const std::filesystem::path corpus = std::filesystem::path(QLXW_SOURCE_DIR) / "tests" / "fuzz" / "corpus";
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    fuzz::FuzzProfileText(testing::ReadBytes(entry.path().string()));
    ++replayed;
  }
  EXPECT_GE(replayed, 10);
}

}  // namespace
}  // namespace qlxw
