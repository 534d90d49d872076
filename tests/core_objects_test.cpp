// The root object's host-facing parts, the facade, and the settings contract.
#include <gtest/gtest.h>

#include "api/cls_common.h"
#include "api/common_facade.h"
#include "api/common_types.h"
#include "config/app_settings.h"
#include "test_support.h"

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

TEST_F(HostObjects, FrameFormMustBeAForm) {
  const auto root = clsCommon::Create();
  EXPECT_EQ(root->oAppFrameForm(), nullptr);
  const auto form = std::make_shared<FakeHostObject>(true);
  root->oAppFrameForm(form);
  EXPECT_EQ(clsCommon::Create()->oAppFrameForm(), form);  // library-wide
  EXPECT_EQ(testing::ErrorNumberOf([&] { root->oAppFrameForm(std::make_shared<FakeHostObject>(false)); }),
            kErrTypeMismatch);
  EXPECT_EQ(root->oAppFrameForm(), form);
  root->TearDown();
  EXPECT_EQ(root->oAppFrameForm(), nullptr);
  root->TearDown();  // without a form it still succeeds
}

TEST_F(HostObjects, AppSettingsHoldsWhatWasSet) {
  const auto root = clsCommon::Create();
  EXPECT_EQ(root->AppSettings(), nullptr);
  const auto settings = std::make_shared<IAppSettings>();
  root->AppSettings(settings);
  EXPECT_EQ(clsCommon::Create()->AppSettings(), settings);
  root->AppSettings(nullptr);
  EXPECT_EQ(root->AppSettings(), nullptr);
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

// A host's store, to show the contract can be filled in piece by piece.
class OneLongStore : public IAppSettings {
 public:
  std::int32_t GetLong(const Text&, const Text&, std::int32_t defaultValue) override {
    return stored_.value_or(defaultValue);
  }
  void SetLong(const Text&, const Text&, std::int32_t value, bool) override { stored_ = value; }

 private:
  std::optional<std::int32_t> stored_;
};

TEST(NullSettings, HostsOverrideWhatTheyStore) {
  OneLongStore store;
  IAppSettings& settings = store;
  EXPECT_EQ(settings.GetLong("c", "k", 7), 7);
  settings.SetLong("c", "k", 9);
  EXPECT_EQ(settings.GetLong("c", "k"), 9);
  EXPECT_EQ(settings.GetString("c", "k", "x"), "");
}

class Anchors : public ILibAnchors {
 public:
  explicit Anchors(bool released) : released_(released) {}
  bool Released() override { return released_; }
  bool released_;
};

TEST_F(HostObjects, AnchorsAreReplacedOnlyWhenReleased) {
  CommonFacade facade;
  EXPECT_EQ(facade.LibAnchors(), nullptr);
  const auto held = std::make_shared<Anchors>(false);
  facade.LibAnchors(held);
  try {
    facade.LibAnchors(std::make_shared<Anchors>(true));
    FAIL() << "replaced held anchors";
  } catch (const LibError& error) {
    EXPECT_EQ(error.Number(), kLibErrInvalidArgument);
    EXPECT_EQ(error.Description(), "");
  }
  EXPECT_EQ(CommonFacade().LibAnchors(), held);
  held->released_ = true;
  facade.LibAnchors(nullptr);
  EXPECT_EQ(facade.LibAnchors(), nullptr);
  EXPECT_FALSE(ILibAnchors().Released());
}

TEST_F(HostObjects, FacadeGivesTheRootsManagers) {
  const auto root = clsCommon::Create();
  root->MainVer(5);
  CommonFacade facade;
  EXPECT_EQ(facade.INI(), root->INI());
  EXPECT_EQ(facade.INI5()->AsIniManager(), root->INI());
  clsCommonTypes types;
  EXPECT_EQ(HCT_Op, 4);
  EXPECT_EQ(typeSaveView{}.lWinSate, 0);
}

}  // namespace
}  // namespace qlxw
