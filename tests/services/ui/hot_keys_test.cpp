// HotKeys: the default table, re-assignment and removal rules, the errors, and key names.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "os/codepage.h"
#include "tests/support/folder_test_support.h"
#include "ui/hot_keys.h"
#include "ui/key_names.h"

namespace qlxw {
namespace {

using testing::ErrorNumberOf;

class HotKeyTable : public testing::FreshLibraryState {
 protected:
  HotKeys keys_;
};

// The default table as hosts document it to their users, in its order; code 0 is the code page's "í".
const std::string kDefaultFunctions =
    "Help Undo Redo SnapAny SnapPt SnapGr SnapLi SnapArc SnapTx SnapSi SnapBlk HideToolBar "
    "ZoomByRect RefreshView Param1 Param2 Layers LastViewPosition PanLeft PanRight PanUp "
    "PanDown ZoomInByCenter ZoomOutByCenter ZoomInByMouse ZoomOutByMouse ShowViewManagerForm "
    "Halt ShowContextMenu AddLiAddSi ZoomWindowOnOff AllVisible NextVector PrevVector";
constexpr std::int16_t kDefaultCodes[] = {112, 2090, 2089, 0,  89, 88,   67, 86,   66,   78,  77,  84,
                                          65,  70,   79,   80, 82, 2065, 37, 39,   38,   40,  107, 109,
                                          81,  87,   69,   27, 32, 68,   83, 2087, 2038, 2040};

TEST_F(HotKeyTable, EmptyUntilResetThenTheDefaultTableInItsOrder) {
  EXPECT_EQ(keys_.FunctionCount(), 0);
  EXPECT_EQ(keys_.HotKeyCode("Help"), kNoHotKey);
  keys_.ResetHotKeys();
  ASSERT_EQ(keys_.FunctionCount(), 34);
  std::istringstream functions(kDefaultFunctions);
  std::string function;
  for (std::int16_t position = 1; functions >> function; ++position) {
    const std::int16_t code =
        kDefaultCodes[position - 1] == 0 ? SnapAnyKeyCode() : kDefaultCodes[position - 1];
    EXPECT_EQ(keys_.GetFncName(position), function) << position;
    EXPECT_EQ(keys_.GetKeyCode(position), code) << function;
    EXPECT_EQ(keys_.HotKeyCode(function), code) << function;
    EXPECT_TRUE(keys_.IsKeyAssigned(code)) << function;
  }
  keys_.ResetHotKeys();  // a second reset starts again rather than adding
  EXPECT_EQ(keys_.FunctionCount(), 34);
  EXPECT_EQ(keys_.HotKeyCode("UNDO"), 2090);  // names match in any letter case
  EXPECT_TRUE(keys_.IsFncAssigned("hElP"));
}

// One SetHotKeyCode after ResetHotKeys: the code, the function, the count after, a function left
// without a key ("" for none), and where the function is afterwards. A key of another function takes
// it from that one; no key changes nothing; the same key again moves to the end; "" is a function too;
// a name in another letter case is the same function, kept as last spelled.
TEST_F(HotKeyTable, SetHotKeyCodeMovesKeyAndFunctionTogether) {
  for (const auto& [code, function, count, lost, position] :
       {std::tuple{112, "Layers", 33, "Help", 33}, std::tuple{int{kNoHotKey}, "Help", 34, "", 1},
        std::tuple{999, "Measure", 35, "", 35}, std::tuple{2090, "Measure", 34, "Undo", 34},
        std::tuple{112, "Help", 34, "", 34}, std::tuple{300, "", 35, "", 35},
        std::tuple{201, "hELP", 34, "", 34}}) {
    SCOPED_TRACE(function);
    keys_.ResetHotKeys();
    keys_.SetHotKeyCode(static_cast<std::int16_t>(code), function);
    EXPECT_EQ(keys_.FunctionCount(), count);
    if (*lost != '\0') {
      EXPECT_EQ(keys_.HotKeyCode(lost), kNoHotKey);
      EXPECT_FALSE(keys_.IsFncAssigned(lost));
    }
    EXPECT_EQ(keys_.GetFncName(static_cast<std::int16_t>(position)), function);
    EXPECT_EQ(keys_.GetKeyCode(static_cast<std::int16_t>(position)), code == kNoHotKey ? 112 : code);
  }
}

TEST_F(HotKeyTable, RemovalsShiftPositionsOfTheThreadsOneTableOutsideItErrorsAsDefaultKeys) {
  keys_.ResetHotKeys();
  keys_.RemoveFnc("undo");
  EXPECT_EQ(keys_.FunctionCount(), 33);
  EXPECT_EQ(keys_.GetFncName(2), "Redo");
  EXPECT_EQ(keys_.GetKeyCode(2), 2089);
  keys_.RemoveKey(2089);
  EXPECT_EQ(keys_.GetFncName(2), "SnapAny");
  EXPECT_FALSE(keys_.IsFncAssigned("Redo"));
  keys_.RemoveKey(999);  // no such code
  keys_.RemoveFnc("NoSuchFunction");
  EXPECT_EQ(keys_.FunctionCount(), 32);
  HotKeys().ClearHotKeys();  // every object of the thread shares one table
  EXPECT_FALSE(keys_.IsKeyAssigned(112));
  EXPECT_EQ(keys_.FunctionCount(), 0);
  // Positions outside the table are subscript errors.
  keys_.ResetHotKeys();
  for (const std::int16_t position :
       {std::int16_t{0}, std::int16_t{-1}, std::int16_t{35}, std::int16_t{32767}}) {
    EXPECT_EQ(ErrorNumberOf([&] { keys_.GetFncName(position); }), kErrSubscriptOutOfRange) << position;
    EXPECT_EQ(ErrorNumberOf([&] { keys_.GetKeyCode(position); }), kErrSubscriptOutOfRange) << position;
  }
  // DefaultKeys always fails, with 1001 and no source.
  const LibError error = testing::Raised([&] { keys_.DefaultKeys(); });
  EXPECT_EQ(error.Number(), kErrApplicationDefined);
  EXPECT_EQ(error.Description(), "QlxWCommon.HotKeys.DefaultKeys/1");
  EXPECT_EQ(error.Source(), "");
}

TEST_F(HotKeyTable, WalksOverflowPast32767Entries) {
  for (std::int32_t code = 1; code <= 32767; ++code) {
    keys_.SetHotKeyCode(static_cast<std::int16_t>(code), "F" + std::to_string(code));
  }
  EXPECT_TRUE(keys_.IsKeyAssigned(1));
  keys_.SetHotKeyCode(-32768, "F-32768");  // walks 32767 entries, then adds one
  ASSERT_EQ(keys_.FunctionCount(), 32768);
  EXPECT_EQ(ErrorNumberOf([&] { keys_.IsKeyAssigned(1); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { keys_.RemoveKey(1); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { keys_.SetHotKeyCode(-2, "Other"); }), kErrOverflow);
  EXPECT_FALSE(keys_.IsFncAssigned("Other"));
  EXPECT_EQ(keys_.FunctionCount(), 32768);
  EXPECT_EQ(keys_.HotKeyCode("F2"), 2);  // lookups by name have no counter
  EXPECT_EQ(keys_.GetFncName(32767), "F32767");
}

TEST(KeyNames, Readable) {
  const std::pair<std::int16_t, const char*> names[] = {{65, "A"},         {90, "Z"},
                                                        {48, "0"},         {112, "F1"},
                                                        {135, "F24"},      {37, "Left"},
                                                        {39, "Right"},     {38, "Up"},
                                                        {40, "Down"},      {27, "Esc"},
                                                        {32, "Space"},     {13, "Enter"},
                                                        {9, "Tab"},        {107, "Num +"},
                                                        {109, "Num -"},    {2090, "Ctrl+Z"},
                                                        {97, "VK 0x61"},   {'?', "VK 0x3F"},
                                                        {0, "VK 0x00"},    {999, "VK 0x3E7"},
                                                        {-2, "VK 0xFFFE"}, {2000, "Ctrl+VK 0x00"}};
  for (const auto& [code, name] : names) {
    EXPECT_EQ(KeyName(code), name);
  }
  // The upper half is the code page's character; SnapAny's key is the code page's "í", or its '?'
  // (VK 0x3F above) where the code page has no "í".
  EXPECT_EQ(KeyName(SnapAnyKeyCode()), "í");
  EXPECT_EQ(KeyName(0xE9), platform::AnsiToUtf8("\xE9"));
}

}  // namespace
}  // namespace qlxw
