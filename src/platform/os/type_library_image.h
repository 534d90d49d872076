#pragma once
// The name of a type library read from the bytes of a file: a program or component file (PE) whose
// "TYPELIB" resource 1 holds the library, or a type library file itself. Plain code over the bytes, so
// that every platform, the tests and the fuzzer share it; bad bytes give a reason, never a read
// outside them.
#include <cstddef>
#include <string>
#include <string_view>

namespace qlxw::platform {

struct TypeLibraryNameFound {
  std::string name;          // the library's name as stored (8-bit text); empty when not found
  std::string_view problem;  // why there is no name (a fixed text); empty when found
};

TypeLibraryNameFound FindTypeLibraryName(std::string_view fileBytes);

// How many of a file's first bytes TypeLibraryStartProblem looks at: a program file's headers.
inline constexpr std::size_t kTypeLibraryFileStart = 4096;

// Why a file that begins with `start` (its first kTypeLibraryFileStart bytes, or all of a shorter
// file) holds no type library, as FindTypeLibraryName would say it of the whole file; empty when it
// may hold one. Lets a reader refuse a large file of another kind before reading the rest of it.
std::string_view TypeLibraryStartProblem(std::string_view start);

}  // namespace qlxw::platform
