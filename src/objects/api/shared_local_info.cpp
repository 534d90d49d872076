#include "api/shared_local_info.h"

#include "api/default_theme.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

struct SharedLocalInfoState {
  std::shared_ptr<LocalInfo> localInfo;
};

using SharedLocalInfoSlot = platform::ThreadState<SharedLocalInfoState, platform::EndStage::kHostObjects>;

}  // namespace

std::shared_ptr<LocalInfo> MakeLocalInfo() {
  return std::make_shared<LocalInfo>(
      []() -> std::shared_ptr<ITheme> { return std::make_shared<DefaultTheme>(); });
}

std::shared_ptr<LocalInfo> GetLocalInfo() {
  SharedLocalInfoState& state = SharedLocalInfoSlot::Get();
  if (!state.localInfo) {
    state.localInfo = MakeLocalInfo();
  }
  return state.localInfo;
}

}  // namespace qlxw
