// libFuzzer entry for the type library name reader: any bytes give a name or a reason, never both,
// and never a read outside them (the sanitizers watch that).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "os/type_library_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto found =
      qlxw::platform::FindTypeLibraryName(std::string_view(reinterpret_cast<const char*>(data), size));
  if (found.name.empty() == found.problem.empty() || found.name.size() > 255) {
    std::abort();
  }
  return 0;
}
