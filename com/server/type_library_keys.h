#pragma once
// The registry keys of the type library and of the interfaces marshalled through it, written for one
// user: RegisterTypeLib writes the machine's classes only.
#include <windows.h>

#include <oaidl.h>

#include <string>
#include <string_view>

#include "com/server/classes_root.h"

namespace qlxw::com {

// The version of the library in the IDL, as the registry writes it.
inline constexpr std::wstring_view kLibraryVersion = L"1.0";

// The keys RegisterTypeLib writes, under `root`, for this build's bitness (win32 or win64).
bool RegisterTypeLibraryForUser(const ClassesRoot& root, ITypeLib* library, const std::wstring& modulePath);
// Removes this bitness's entry; the library and its interfaces go only when no other bitness is left.
void UnregisterTypeLibraryForUser(const ClassesRoot& root);

}  // namespace qlxw::com
