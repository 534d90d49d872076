#include <gtest/gtest.h>

#include <string>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "diag/cls_debug.h"
#include "folders/folder_manager.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

// Services reach the INI file through the root object, so a host sees a root object made for them in
// the trace when it had none, and no second one when it had.
class RootObjectReach : public testing::FreshLibraryState {
 protected:
  void SetUp() override {
    FreshLibraryState::SetUp();
    SetMainVer(5);
    SetINIFileNameOnce(folder_.File("host.ini"));
    debug_.sLogFileName(trace_);
  }

  int RootObjectsMadeWhile(bool hostMadeOne) {
    if (hostMadeOne) {
      GetRootObject();
    }
    debug_.bCallLog(true);
    FolderManager manager;
    manager.LoadFromINI();
    debug_.bCallLog(false);
    const std::string log = testing::ReadBytes(trace_);
    int made = 0;
    for (std::size_t at = log.find("clsCommon.Class_Initialize >>"); at != std::string::npos;
         at = log.find("clsCommon.Class_Initialize >>", at + 1)) {
      ++made;
    }
    return made;
  }

  testing::ScratchFolder folder_;
  std::string trace_ = folder_.File("trace.log");
  clsDebug debug_;
};

TEST_F(RootObjectReach, AFolderManagerMakesTheRootObjectAHostDidNotMake) {
  EXPECT_EQ(RootObjectsMadeWhile(false), 1);
}

TEST_F(RootObjectReach, AFolderManagerUsesTheRootObjectAHostMade) {
  EXPECT_EQ(RootObjectsMadeWhile(true), 0);
}

}  // namespace
}  // namespace qlxw
