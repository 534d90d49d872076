#include "config/ini_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace qlxw {
namespace {

class Registry : public testing::FreshLibraryState {
 protected:
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (const auto& item : items_) {
      keys.push_back(item->Section() + "." + item->Key());
    }
    return keys;
  }

  INIItems items_;
};

TEST_F(Registry, OneEntryPerPairInAnyCaseFirstDefaultKept) {
  ASSERT_NE(items_.AddIfMissing("Setup", "Mode", std::string("360")), nullptr);
  EXPECT_EQ(items_.AddIfMissing("SETUP", "mode", std::string("400")), nullptr);
  EXPECT_TRUE(items_.Exists("setup", "MODE"));
  EXPECT_EQ(items_.Count(), 1);
  EXPECT_EQ(std::get<std::string>(items_.Item(1)->Default()), "360");
  items_.AddIfMissing("a.b", "c", true);  // dotted names share a key
  EXPECT_EQ(items_.AddIfMissing("a", "b.c", false), nullptr);
  EXPECT_TRUE(items_.Exists("a", "b.c"));
}

TEST_F(Registry, AddRaisesOnDuplicatesUnregisterNever) {
  items_.Add("S", "k");
  EXPECT_EQ(testing::ErrorNumberOf([&] { items_.Add("s", "K", true); }), kErrDuplicateKey);
  EXPECT_FALSE(items_.Unregister("S", "missing"));
  EXPECT_TRUE(items_.Unregister("s", "k"));
  EXPECT_EQ(items_.Count(), 0);
}

TEST_F(Registry, InInsertionOrderRemovedByItemPositionOrKeyOrAllAtOnce) {
  items_.Add("S", "a");
  const auto b = items_.Add("S", "b");
  items_.Add("S", "c");
  items_.Add("S", "d");
  items_.Remove(*b);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"S.a", "S.c", "S.d"}));
  items_.Remove(1);
  items_.Remove("s.D");
  EXPECT_EQ(Keys(), (std::vector<std::string>{"S.c"}));
  EXPECT_EQ(items_.Item("S.C")->Key(), "c");
  items_.Clear();
  EXPECT_TRUE(Keys().empty());
}

}  // namespace
}  // namespace qlxw
