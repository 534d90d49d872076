#include "errors/lib_error.h"

#include <gtest/gtest.h>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "test_support.h"

namespace qlxw {
namespace {

template <class Action>
LibError CaughtFrom(Action action) {
  try {
    action();
  } catch (const LibError& error) {
    return error;
  }
  ADD_FAILURE() << "no LibError was raised";
  return LibError(0, "", "");
}

TEST(LibErrors, CarryNumberDescriptionAndSource) {
  const LibError error = CaughtFrom([] {
    RaiseLibError(kLibErrRepeatedOrBadData, "INIManager5", "ini filename re-initialization attempt!");
  });
  EXPECT_EQ(static_cast<std::uint32_t>(error.Number()), 0x80040002u);
  EXPECT_EQ(error.Description(), "ini filename re-initialization attempt!");
  EXPECT_EQ(error.Source(), "QlxWCommon.INIManager5");
  EXPECT_STREQ(error.what(), "ini filename re-initialization attempt!");
}

TEST(LibErrors, WithoutSourceObjectTheComponentIsTheSource) {
  const LibError error =
      CaughtFrom([] { RaiseLibError(kLibErrInvalidArgument, {}, "Invalid inifile name!"); });
  EXPECT_EQ(static_cast<std::uint32_t>(error.Number()), 0x80040001u);
  EXPECT_EQ(error.Source(), "QlxWCommon");
}

TEST(LibErrors, NumbersAreTheLibrarysOwn) {
  EXPECT_EQ(static_cast<std::uint32_t>(kLibErrInvalidArgument), 0x80040001u);
  EXPECT_EQ(static_cast<std::uint32_t>(kLibErrRepeatedOrBadData), 0x80040002u);
  EXPECT_EQ(static_cast<std::uint32_t>(kLibErrNotInitialized), 0x80040003u);
}

struct AutomationCase {
  std::int32_t number;
  const char* text;
};

void PrintTo(const AutomationCase& row, std::ostream* out) {
  *out << row.number;
}

class AutomationErrors : public ::testing::TestWithParam<AutomationCase> {};

TEST_P(AutomationErrors, TakeTheStandardTextWhenNoneIsGiven) {
  const LibError error = CaughtFrom([] { RaiseAutomationError(GetParam().number); });
  EXPECT_EQ(error.Number(), GetParam().number);
  EXPECT_EQ(error.Description(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, AutomationErrors,
    ::testing::Values(AutomationCase{5, "Invalid procedure call or argument"}, AutomationCase{6, "Overflow"},
                      AutomationCase{9, "Subscript out of range"}, AutomationCase{13, "Type mismatch"},
                      AutomationCase{75, "Path/File access error"}, AutomationCase{76, "Path not found"},
                      AutomationCase{1001, "Application-defined or object-defined error"}));

TEST(AutomationErrors, KeepAGivenDescription) {
  const LibError error =
      CaughtFrom([] { RaiseAutomationError(kErrApplicationDefined, "QlxWCommon.HotKeys.DefaultKeys/1"); });
  EXPECT_EQ(error.Number(), 1001);
  EXPECT_EQ(error.Description(), "QlxWCommon.HotKeys.DefaultKeys/1");
}

TEST(HResults, SmallNumbersBecomeAutomationHResults) {
  EXPECT_EQ(HResultOf(5), 0x800A0005u);
  EXPECT_EQ(HResultOf(1001), 0x800A03E9u);
  EXPECT_EQ(HResultOf(0xFFFF), 0x800AFFFFu);
}

TEST(HResults, FullHResultsStayAsTheyAre) {
  EXPECT_EQ(HResultOf(kLibErrNotInitialized), 0x80040003u);
  EXPECT_EQ(HResultOf(static_cast<std::int32_t>(0x80070005u)), 0x80070005u);
  EXPECT_EQ(HResultOf(0x10000), 0x10000u);
}

class MainVersion : public testing::FreshLibraryState {};

TEST_F(MainVersion, UnsetIsTheNotInitializedError) {
  const LibError error = CaughtFrom([] { GetMainVer(); });
  EXPECT_EQ(error.Number(), kLibErrNotInitialized);
  EXPECT_EQ(error.Description(), "Main version not initialized!");
  EXPECT_EQ(error.Source(), "QlxWCommon");
  const auto root = clsCommon::Create();
  EXPECT_THROW(root->MainVer(), LibError);
}

TEST_F(MainVersion, AnyNonZeroValueIsKept) {
  const auto root = clsCommon::Create();
  for (const std::int32_t version : {5, 3, -1, 2147483647}) {
    root->MainVer(version);
    EXPECT_EQ(GetMainVer(), version);
  }
  root->MainVer(0);
  EXPECT_THROW(GetMainVer(), LibError);
}

}  // namespace
}  // namespace qlxw
