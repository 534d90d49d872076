// clsFileSystemController as a COM class: the application object of the host's data folders.
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/file_system_controller.h"
#include "com/classes/class_table.h"
#include "com/classes/folders/controller_dispatch.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"

namespace qlxw::com {
namespace {

class FileSystemControllerObject final
    : public ComObject<FileSystemControllerObject, ControllerDispatch<FileSystemControllerObject>> {
 public:
  static constexpr std::string_view kClassName = "clsFileSystemController";
  static const CLSID& ClassId() { return CLSID_clsFileSystemController; }

  FileSystemControllerInterface& Controller() { return controller_; }

 private:
  qlxw::clsFileSystemController controller_;
};

}  // namespace

HRESULT CreateFileSystemController(const GUID& iid, void** out) {
  return Boundary(FileSystemControllerObject::kClassName, iid,
                  [&] { Check(FileSystemControllerObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
