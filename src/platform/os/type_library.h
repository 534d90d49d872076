#pragma once
// The name of the type library embedded in a program or component file (its "TYPELIB" resource 1),
// as the library's own program name is found.
#include <cstdint>
#include <string>

namespace qlxw::platform {

// The system's number for a type library that cannot be loaded.
inline constexpr std::int32_t kErrCannotLoadTypeLibrary = static_cast<std::int32_t>(0x80029C4AU);

// Windows loads the library without registering it; elsewhere the file's bytes are read (a PE file's
// resource, or a type library file itself). A missing file fails with 53; a file without a type
// library, or not a program file at all, with kErrCannotLoadTypeLibrary and a description saying why.
// Both tell a file of another kind from its first bytes, and refuse a pipe or a device, before
// anything more is read.
std::string TypeLibraryName(const std::string& file);

}  // namespace qlxw::platform
