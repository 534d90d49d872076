#pragma once
// The server module: its file, its live objects and its type library.
#include <windows.h>

#include <oaidl.h>

#include <string>

namespace qlxw::com {

HMODULE ModuleHandle() noexcept;
std::wstring ModulePath();

// Objects and server locks alive; the module may unload when both are zero.
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockModule(bool lock) noexcept;
bool ModuleInUse() noexcept;

// The type library embedded in the module, loaded on first use; null when it cannot be loaded.
ITypeLib* TypeLibrary() noexcept;
// The description of an interface or class of the library, loaded once and kept; null when unknown.
ITypeInfo* TypeInfoOf(const GUID& guid) noexcept;

}  // namespace qlxw::com
