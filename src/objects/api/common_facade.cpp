#include "api/common_facade.h"

#include "config/shared_ini.h"
#include "errors/lib_error.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

// The anchors a host hands in, kept for the thread.
struct AnchorsState {
  std::shared_ptr<ILibAnchors> anchors;
};

std::shared_ptr<ILibAnchors>& HeldAnchors() {
  return platform::ThreadState<AnchorsState, platform::EndStage::kHostObjects>::Get().anchors;
}

}  // namespace

std::shared_ptr<INIManagerInterface> CommonFacade::INI() const {
  return GetSharedINI();
}

std::shared_ptr<INIManager5> CommonFacade::INI5() const {
  return GetSharedINI5();
}

std::shared_ptr<ILibAnchors> CommonFacade::LibAnchors() const {
  return HeldAnchors();
}

void CommonFacade::LibAnchors(std::shared_ptr<ILibAnchors> anchors) {
  auto& stored = HeldAnchors();
  if (stored && !stored->Released()) {
    RaiseLibError(kLibErrInvalidArgument, {}, {});
  }
  stored = std::move(anchors);
}

}  // namespace qlxw
