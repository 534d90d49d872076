#include "errors/lib_error.h"

#include <gtest/gtest.h>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "tests/support/test_support.h"

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
  return {0, "", ""};
}

TEST(LibErrors, CarryNumberDescriptionAndSource) {
  const LibError error = CaughtFrom([] {
    RaiseLibError(kLibErrRepeatedOrBadData, "INIManager5", "ini filename re-initialization attempt!");
  });
  EXPECT_EQ(static_cast<std::uint32_t>(error.Number()), 0x80040002u);
  EXPECT_EQ(error.Description(), "ini filename re-initialization attempt!");
  EXPECT_EQ(error.Source(), "QlxWCommon.INIManager5");
  EXPECT_STREQ(error.what(), "ini filename re-initialization attempt!");
  // Without a source object the component is the source.
  const LibError bare =
      CaughtFrom([] { RaiseLibError(kLibErrInvalidArgument, {}, "Invalid inifile name!"); });
  EXPECT_EQ(static_cast<std::uint32_t>(bare.Number()), 0x80040001u);
  EXPECT_EQ(bare.Source(), "QlxWCommon");
}

TEST(AutomationErrors, TakeTheStandardTextUnlessOneIsGiven) {
  const std::vector<std::tuple<std::int32_t, std::string, std::string>> cases = {
      {5, "", "Invalid procedure call or argument"},
      {6, "", "Overflow"},
      {9, "", "Subscript out of range"},
      {13, "", "Type mismatch"},
      {75, "", "Path/File access error"},
      {76, "", "Path not found"},
      {1001, "", "Application-defined or object-defined error"},
      {1001, "QlxWCommon.HotKeys.DefaultKeys/1", "QlxWCommon.HotKeys.DefaultKeys/1"}};
  for (const auto& [number, given, text] : cases) {
    const LibError error =
        CaughtFrom([&, number = number, given = given] { RaiseAutomationError(number, given); });
    EXPECT_EQ(error.Number(), number);
    EXPECT_EQ(error.Description(), text) << number;
  }
}

TEST(HResults, SmallNumbersBecomeAutomationHResultsOthersStay) {
  const std::vector<std::pair<std::int32_t, std::uint32_t>> cases = {
      {5, 0x800A0005u},
      {1001, 0x800A03E9u},
      {0xFFFF, 0x800AFFFFu},
      {0x10000, 0x10000u},
      {kLibErrNotInitialized, 0x80040003u},
      {static_cast<std::int32_t>(0x80070005u), 0x80070005u}};
  for (const auto& [number, result] : cases) {
    EXPECT_EQ(HResultOf(number), result) << number;
  }
}

class MainVersion : public testing::FreshLibraryState {};

TEST_F(MainVersion, UnsetOrZeroIsTheNotInitializedErrorAnyOtherValueIsKept) {
  const LibError error = CaughtFrom([] { GetMainVer(); });
  EXPECT_EQ(error.Number(), kLibErrNotInitialized);
  EXPECT_EQ(error.Description(), "Main version not initialized!");
  EXPECT_EQ(error.Source(), "QlxWCommon");
  const auto root = clsCommon::Create();
  EXPECT_THROW(root->MainVer(), LibError);
  for (const std::int32_t version : {5, 3, -1, 2147483647}) {
    root->MainVer(version);
    EXPECT_EQ(GetMainVer(), version);
  }
  root->MainVer(0);
  EXPECT_THROW(GetMainVer(), LibError);
}

}  // namespace
}  // namespace qlxw
