// The root object's host-facing parts, the facade, and the settings contract.
#include <gtest/gtest.h>

#include "api/cls_common.h"
#include "api/common_facade.h"
#include "config/app_settings.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

class FakeHostObject : public AutomationObject {
 public:
  explicit FakeHostObject(bool form) : form_(form) {}
  bool IsForm() const override { return form_; }

 private:
  bool form_;
};

class HostObjects : public testing::FreshLibraryState {};

TEST_F(HostObjects, FrameFormMustBeAFormAndIsLibraryWide) {
  const auto root = clsCommon::Create();
  const auto form = std::make_shared<FakeHostObject>(true);
  root->oAppFrameForm(form);
  EXPECT_EQ(clsCommon::Create()->oAppFrameForm(), form);
  EXPECT_EQ(testing::ErrorNumberOf([&] { root->oAppFrameForm(std::make_shared<FakeHostObject>(false)); }),
            kErrTypeMismatch);
  EXPECT_EQ(root->oAppFrameForm(), form);
  root->TearDown();
  EXPECT_EQ(root->oAppFrameForm(), nullptr);
  root->TearDown();  // without a form it still succeeds
  const auto settings = std::make_shared<IAppSettings>();
  root->AppSettings(settings);
  EXPECT_EQ(clsCommon::Create()->AppSettings(), settings);
}

TEST(NullSettings, IgnoreDefaultsAndStoreNothing) {
  IAppSettings settings;
  EXPECT_EQ(settings.GetLong("c", "k", 7), 0);
  EXPECT_EQ(settings.GetByte("c", "k", 7), 0);
  EXPECT_EQ(settings.GetInteger("c", "k", -7), 0);
  EXPECT_EQ(settings.GetDouble("c", "k", 1.5), 0.0);
  EXPECT_FALSE(settings.GetBoolean("c", "k", true));
  settings.SetString("c", "k", "stored?");
  EXPECT_EQ(settings.GetString("c", "k", "default"), "");
  EXPECT_TRUE(settings.GetDoubleArray("c", "k", {1.0, 2.0}).empty());
  EXPECT_FALSE(settings.CheckString("c", "k"));
  EXPECT_FALSE(settings.CheckBooleanArray("c", "k"));
}

class Anchors : public ILibAnchors {
 public:
  explicit Anchors(bool released) : released_(released) {}
  bool Released() override { return released_; }
  bool released_;
};

TEST_F(HostObjects, AnchorsAreReplacedOnlyWhenReleased) {
  CommonFacade facade;
  const auto held = std::make_shared<Anchors>(false);
  facade.LibAnchors(held);
  const LibError error = testing::Raised([&] { facade.LibAnchors(std::make_shared<Anchors>(true)); });
  EXPECT_EQ(std::pair(error.Number(), error.Description()), std::pair(kLibErrInvalidArgument, std::string()));
  EXPECT_EQ(CommonFacade().LibAnchors(), held);
  held->released_ = true;
  facade.LibAnchors(nullptr);
  EXPECT_EQ(facade.LibAnchors(), nullptr);
  EXPECT_FALSE(ILibAnchors().Released());
}

TEST_F(HostObjects, FacadeGivesTheRootsManagers) {
  const auto root = clsCommon::Create();
  root->MainVer(5);
  EXPECT_EQ(CommonFacade().INI(), root->INI());
  EXPECT_EQ(CommonFacade().INI5()->AsIniManager(), root->INI());
}

}  // namespace
}  // namespace qlxw
