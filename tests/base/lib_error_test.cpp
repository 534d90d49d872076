#include "errors/lib_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

// What a host reads of an error raised: its number as an HRESULT, its text and its source.
struct RaisedError {
  std::function<void()> raise;
  std::uint32_t hresult;
  std::string description;
  std::string source = "QlxWCommon";
};

TEST(LibErrors, CarryNumberDescriptionAndSource) {
  for (const RaisedError& row : {
           RaisedError{[] { RaiseLibError(kLibErrRepeatedOrBadData, "INIManager5", "attempt!"); },
                       0x80040002u, "attempt!", "QlxWCommon.INIManager5"},
           RaisedError{[] { RaiseLibError(kLibErrInvalidArgument, {}, "Invalid inifile name!"); },
                       0x80040001u, "Invalid inifile name!"},
           // Automation errors take the standard text unless one is given.
           RaisedError{[] { RaiseAutomationError(5); }, 0x800A0005u, "Invalid procedure call or argument"},
           RaisedError{[] { RaiseAutomationError(13); }, 0x800A000Du, "Type mismatch"},
           RaisedError{[] { RaiseAutomationError(75); }, 0x800A004Bu, "Path/File access error"},
           RaisedError{[] { RaiseAutomationError(1001); }, 0x800A03E9u,
                       "Application-defined or object-defined error"},
           RaisedError{[] { RaiseAutomationError(1001, "HotKeys/1"); }, 0x800A03E9u, "HotKeys/1"},
       }) {
    const LibError error = testing::Raised(row.raise);  // number 0 when none is raised
    EXPECT_EQ(HResultOf(error.Number()), row.hresult) << row.description;
    EXPECT_EQ(error.Description(), row.description);
    EXPECT_STREQ(error.what(), row.description.c_str());
    EXPECT_EQ(error.Source(), row.source) << row.description;
  }
}

TEST(HResults, SmallNumbersBecomeAutomationHResultsOthersStay) {
  for (const auto& [number, result] : std::initializer_list<std::pair<std::int32_t, std::uint32_t>>{
           {0xFFFF, 0x800AFFFFu},
           {0x10000, 0x10000u},
           {static_cast<std::int32_t>(0x80070005u), 0x80070005u}}) {
    EXPECT_EQ(HResultOf(number), result) << number;
  }
}

}  // namespace
}  // namespace qlxw
