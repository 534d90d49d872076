#include <gtest/gtest.h>

#include <thread>

#include "api/cls_common.h"
#include "collections/collection.h"
#include "config/ini_file.h"
#include "errors/lib_error.h"
#include "test_support.h"

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

TEST(Collections, CountFromOneFindKeysInAnyCaseAndRaiseTheAutomationErrors) {
  Collection items;
  items.Add(std::string("first"));
  items.Add(std::int32_t{2}, "Őrház");
  items.Add(true, "kulcs");
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(std::get<std::string>(items.Item(1)), "first");
  EXPECT_EQ(std::get<std::int32_t>(items.Item("őRHÁZ")), 2);
  items.Remove("KULCS");
  items.Remove(1);
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(std::get<std::int32_t>(items.Item(1)), 2);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item(0); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item(2); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Remove(-1); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item("missing"); }), kErrInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Add(std::string("b"), "őrház"); }), kErrDuplicateKey);
  EXPECT_EQ(items.Count(), 1);
}

}  // namespace
}  // namespace qlxw
