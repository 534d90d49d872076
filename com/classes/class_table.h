#pragma once
// The creatable classes of the server, from com/classes/class_table.list: what the class factory makes
// and regsvr32 registers, and the function of each class's own file that makes one.
#include <windows.h>

#include <span>
#include <string_view>

namespace qlxw::com {

using CreateFunction = HRESULT (*)(const GUID& iid, void** out);

struct CreatableClass {
  const CLSID* classId;
  std::wstring_view name;  // the ProgID is "QlxWCommon." + name
  CreateFunction create;
};

// In the order of the table.
std::span<const CreatableClass> CreatableClasses();

// A new object of the class, handed out through `iid`.
#define QLXW_CREATABLE_CLASS(name, create) HRESULT create(const GUID& iid, void** out);
#include "class_table.inc"
#undef QLXW_CREATABLE_CLASS

}  // namespace qlxw::com
