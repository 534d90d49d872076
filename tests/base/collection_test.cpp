#include "collections/collection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "errors/lib_error.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

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

// Adding at a place: the order that results, or the error when the place or the key is wrong.
TEST(Collections, AddPutsTheItemBeforeOrAfterAnExistingOne) {
  using Anchor = Collection::Anchor;
  struct Case {
    std::optional<std::string> key;
    std::optional<Anchor> before;
    std::optional<Anchor> after;
    std::string expectedOrder;  // empty: the error below, nothing added
    std::int32_t expectedError;
  };
  const std::vector<Case> cases = {
      {std::nullopt, std::nullopt, std::nullopt, "abcx", 0},
      {"X", Anchor{1}, std::nullopt, "xabc", 0},
      {std::nullopt, Anchor{"B"}, std::nullopt, "axbc", 0},
      {std::nullopt, std::nullopt, Anchor{3}, "abcx", 0},
      {std::nullopt, std::nullopt, Anchor{"a"}, "axbc", 0},
      {std::nullopt, Anchor{0}, std::nullopt, "", kErrInvalidProcedureCall},
      {std::nullopt, std::nullopt, Anchor{4}, "", kErrInvalidProcedureCall},
      {std::nullopt, Anchor{"zz"}, std::nullopt, "", kErrInvalidProcedureCall},
      {std::nullopt, Anchor{1}, Anchor{1}, "", kErrInvalidProcedureCall},
      {"b", Anchor{1}, std::nullopt, "", kErrDuplicateKey},
  };
  for (const Case& c : cases) {
    Collection items;
    items.Add(std::string("a"), "A");
    items.Add(std::string("b"), "B");
    items.Add(std::string("c"));
    const std::int32_t error =
        testing::ErrorNumberOf([&] { items.Add(std::string("x"), c.key, c.before, c.after); });
    std::string order;
    for (const Variant& item : items) {
      order += std::get<std::string>(item);
    }
    EXPECT_EQ(error, c.expectedError) << c.expectedOrder;
    EXPECT_EQ(order, c.expectedOrder.empty() ? "abc" : c.expectedOrder);
    if (c.key && error == 0) {
      EXPECT_EQ(std::get<std::string>(items.Item(*c.key)), "x");
    }
  }
}

}  // namespace
}  // namespace qlxw
