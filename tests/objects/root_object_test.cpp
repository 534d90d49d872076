#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "errors/lib_error.h"
#include "folders/folder_manager.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

class RootObject : public testing::FreshLibraryState {};

TEST_F(RootObject, NewestIsTheSharedOneAndSharesIdentityButNotMessageNames) {
  const auto first = clsCommon::Create();
  const auto second = clsCommon::Create();
  EXPECT_EQ(GetRootObject(), second);
  SetRootObject(first);
  EXPECT_EQ(GetRootObject(), first);
  first->sAppTitle("Field book");
  second->sAppComment("survey 12");
  first->gsMSG_GotoXY = "Jump";
  EXPECT_EQ(second->sAppTitle(), "Field book");
  EXPECT_EQ(first->sAppComment(), "survey 12");
  EXPECT_EQ(second->gsMSG_GotoXY, "GotoXY");
}

TEST_F(RootObject, EachThreadMakesItsOwnOnDemand) {
  const auto made = GetRootObject();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(GetRootObject(), made);
  made->sAppTitle("main thread");
  made->MainVer(5);
  std::shared_ptr<clsCommon> other;
  std::string otherTitle = "unset";
  bool otherHasVersion = true;
  std::thread([&] {
    other = GetRootObject();
    otherTitle = other->sAppTitle();
    otherHasVersion = MainVersionIsSet();
  }).join();
  EXPECT_NE(other, made);
  EXPECT_EQ(otherTitle, "");
  EXPECT_FALSE(otherHasVersion);
}

TEST_F(RootObject, MainVersionUnsetOrZeroIsTheNotInitializedErrorAnyOtherIsKept) {
  const auto root = clsCommon::Create();
  EXPECT_EQ(testing::ErrorNumberOf([&] { root->MainVer(); }), kLibErrNotInitialized);
  for (const std::int32_t version : {5, 3, -1, 2147483647}) {
    root->MainVer(version);
    EXPECT_EQ(GetMainVer(), version);
  }
  root->MainVer(0);
  EXPECT_EQ(testing::ErrorNumberOf([] { GetMainVer(); }), kLibErrNotInitialized);
}

// Services reach the INI file through the root object: a folder manager makes one when the host made
// none (the trace shows its making), and takes the host's when there is one.
TEST_F(RootObject, AServiceMakesTheRootObjectOnlyWhenTheHostMadeNone) {
  testing::ScratchFolder folder;
  for (const bool hostMadeOne : {false, true}) {
    ResetLibraryState();
    SetMainVer(5);
    SetINIFileNameOnce(folder.File("host.ini"));
    if (hostMadeOne) {
      GetRootObject();
    }
    const std::string log = testing::TraceOf(folder.File("trace.log"), [] { FolderManager().LoadFromINI(); });
    const std::string made = "clsCommon.Class_Initialize >>";
    // None when the host made one, else exactly one.
    EXPECT_EQ(log.find(made) == std::string::npos, hostMadeOne) << log;
    EXPECT_EQ(log.find(made), log.rfind(made)) << log;
  }
}

}  // namespace
}  // namespace qlxw
