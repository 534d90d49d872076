#include "com/classes/class_table.h"

#include "QlxWCommon_h.h"

namespace qlxw::com {
namespace {

// The class id of each comes from the type library's header, by the coclass's name.
constexpr CreatableClass kClasses[] = {
#define QLXW_CREATABLE_CLASS(name, create) {&CLSID_##name, L"" #name, create},
#include "class_table.inc"
#undef QLXW_CREATABLE_CLASS
};

}  // namespace

std::span<const CreatableClass> CreatableClasses() {
  return kClasses;
}

}  // namespace qlxw::com
