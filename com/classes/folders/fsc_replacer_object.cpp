// FSCReplacer as a COM class: _clsFileSystemController as clsFileSystemController serves it, over the
// replacing controller, plus _FSCReplacer.
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/classes/folders/controller_dispatch.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "folders/fsc_replacer.h"

namespace qlxw::com {
namespace {

class FSCReplacerObject final
    : public ComObject<FSCReplacerObject, DispatchWithSecond<_FSCReplacer, _clsFileSystemController>,
                       ControllerDispatch<FSCReplacerObject>> {
 public:
  static constexpr std::string_view kClassName = "FSCReplacer";
  static const CLSID& ClassId() { return CLSID_FSCReplacer; }

  FileSystemControllerInterface& Controller() { return replacer_; }

 private:
  qlxw::FSCReplacer replacer_;
};

}  // namespace

HRESULT CreateFSCReplacer(const GUID& iid, void** out) {
  return Boundary(FSCReplacerObject::kClassName, iid,
                  [&] { Check(FSCReplacerObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
