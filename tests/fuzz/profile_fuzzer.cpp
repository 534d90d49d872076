// libFuzzer entry for the profile text engine.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/profile_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qlxw::fuzz::FuzzProfileText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
