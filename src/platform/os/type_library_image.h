#pragma once
// The name of a type library read from the bytes of a file: a program or component file (PE) whose
// "TYPELIB" resource 1 holds the library, or a type library file itself. Plain code over the bytes, so
// that every platform, the tests and the fuzzer share it; bad bytes give a reason, never a read
// outside them.
#include <string>
#include <string_view>

namespace qlxw::platform {

struct TypeLibraryNameFound {
  std::string name;          // the library's name as stored (8-bit text); empty when not found
  std::string_view problem;  // why there is no name (a fixed text); empty when found
};

TypeLibraryNameFound FindTypeLibraryName(std::string_view fileBytes);

}  // namespace qlxw::platform
