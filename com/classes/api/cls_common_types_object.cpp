// clsCommonTypes as a COM class: no members; it carries the records and ContentType shared by hosts.
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/common_types.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"

namespace qlxw::com {
namespace {

class ClsCommonTypesObject final : public ComObject<ClsCommonTypesObject, DispatchImpl<_clsCommonTypes>> {
 public:
  static constexpr std::string_view kClassName = "clsCommonTypes";
  static const CLSID& ClassId() { return CLSID_clsCommonTypes; }

 private:
  qlxw::clsCommonTypes types_;
};

}  // namespace

HRESULT CreateClsCommonTypes(const GUID& iid, void** out) {
  return Boundary(ClsCommonTypesObject::kClassName, iid,
                  [&] { Check(ClsCommonTypesObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
