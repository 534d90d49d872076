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

TEST_F(RootObject, FreshValues) {
  const auto root = clsCommon::Create();
  EXPECT_EQ(root->gdPI, 3.141592653589793);
  EXPECT_EQ(root->lMIN_LONG, -2147483647 - 1);
  EXPECT_EQ(root->lMAX_LONG, 2147483647);
  EXPECT_EQ(root->gsMSG_Createviewwindow, "CreateViewWindow");
  EXPECT_EQ(root->gs_MatchingTable, "MatchingTable");
  EXPECT_EQ(root->gsMSG_ProjectOnClose, "ProjectOnClose");
  EXPECT_EQ(root->lDebugId(), 0);
}

TEST_F(RootObject, IdentityIsSharedMessageNamesAreNot) {
  const auto first = clsCommon::Create();
  const auto second = clsCommon::Create();
  first->sAppTitle("Field book");
  second->sAppComment("survey 12");
  first->gsMSG_GotoXY = "Jump";
  EXPECT_EQ(second->sAppTitle(), "Field book");
  EXPECT_EQ(first->sAppComment(), "survey 12");
  EXPECT_EQ(second->gsMSG_GotoXY, "GotoXY");
}

TEST_F(RootObject, NewestIsTheSharedOne) {
  const auto first = clsCommon::Create();
  EXPECT_EQ(GetRootObject(), first);
  const auto second = clsCommon::Create();
  EXPECT_EQ(GetRootObject(), second);
  SetRootObject(first);
  EXPECT_EQ(GetRootObject(), first);
}

TEST_F(RootObject, CreatedOnDemandOncePerThread) {
  const auto made = GetRootObject();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(GetRootObject(), made);
  std::shared_ptr<clsCommon> other;
  std::thread([&] { other = GetRootObject(); }).join();
  EXPECT_NE(other, made);
}

TEST_F(RootObject, ThreadsKeepSeparateIdentity) {
  GetRootObject()->sAppTitle("main thread");
  GetRootObject()->MainVer(5);
  std::string otherTitle = "unset";
  bool otherHasVersion = true;
  std::thread([&] {
    otherTitle = GetRootObject()->sAppTitle();
    otherHasVersion = MainVersionIsSet();
  }).join();
  EXPECT_EQ(otherTitle, "");
  EXPECT_FALSE(otherHasVersion);
}

TEST(Collections, CountFromOneAndFindKeysInAnyCase) {
  Collection items;
  items.Add(std::string("first"));
  items.Add(std::int32_t{2}, "Őrház");
  items.Add(true, "kulcs");
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(std::get<std::string>(items.Item(1)), "first");
  EXPECT_EQ(std::get<std::int32_t>(items.Item("őRHÁZ")), 2);
  items.Remove("KULCS");
  EXPECT_EQ(items.Count(), 2);
  items.Remove(1);
  EXPECT_EQ(std::get<std::int32_t>(items.Item(1)), 2);
}

TEST(Collections, ErrorsAreTheAutomationOnes) {
  Collection items;
  items.Add(std::string("a"), "Key");
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item(0); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item(2); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Remove(-1); }), kErrSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Item("missing"); }), kErrInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorNumberOf([&] { items.Add(std::string("b"), "KEY"); }), kErrDuplicateKey);
  EXPECT_EQ(items.Count(), 1);
}

}  // namespace
}  // namespace qlxw
