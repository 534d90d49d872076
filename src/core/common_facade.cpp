#include "core/common_facade.h"

#include "core/library_state.h"
#include "core/shared_ini.h"
#include "diag/lib_error.h"

namespace qlxw {

std::shared_ptr<INIManagerInterface> CommonFacade::INI() const {
  return GetSharedINI();
}

std::shared_ptr<INIManager5> CommonFacade::INI5() const {
  return GetSharedINI5();
}

std::shared_ptr<ILibAnchors> CommonFacade::LibAnchors() const {
  return ThisThreadState().libAnchors;
}

void CommonFacade::LibAnchors(std::shared_ptr<ILibAnchors> anchors) {
  auto& stored = ThisThreadState().libAnchors;
  if (stored && !stored->Released()) {
    RaiseLibError(kLibErrInvalidArgument, {}, {});
  }
  stored = std::move(anchors);
}

}  // namespace qlxw
