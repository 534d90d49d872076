#include "ui/hot_keys.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/codepage.h"
#include "os/thread_state.h"
#include "text/case_fold.h"

namespace qlxw {
namespace {

struct Assignment {
  std::int16_t code;
  std::string name;    // as the caller spelled it
  std::string folded;  // what lookups compare
};

// The two collections of the table kept in step: one entry holds both the code and the name. The maps
// answer "has this name / this code" without a walk, which a host with thousands of entries would feel.
struct HotKeyTable {
  std::vector<Assignment> entries;
  std::unordered_map<std::string, std::int16_t> codeByName;
  std::unordered_map<std::int16_t, std::int32_t> usesOfCode;

  void Add(std::int16_t code, const std::string& name) {
    std::string folded = FoldCase(name);
    codeByName.emplace(folded, code);
    ++usesOfCode[code];
    entries.push_back({code, name, std::move(folded)});
  }

  void RemoveAt(std::size_t position) {
    const Assignment& entry = entries[position];
    codeByName.erase(entry.folded);
    if (--usesOfCode[entry.code] == 0) {
      usesOfCode.erase(entry.code);
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
  }

  void Clear() {
    entries.clear();
    codeByName.clear();
    usesOfCode.clear();
  }

  // The walks over positions count in 16 bits, as hosts' own counters do.
  void CheckWalkable() const {
    if (entries.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
      RaiseAutomationError(kErrOverflow);
    }
  }

  const Assignment& At(std::int16_t position) const {
    if (position < 1 || static_cast<std::size_t>(position) > entries.size()) {
      RaiseAutomationError(kErrSubscriptOutOfRange);
    }
    return entries[static_cast<std::size_t>(position) - 1];
  }
};

using HotKeyTableSlot = platform::ThreadState<HotKeyTable, platform::EndStage::kSettings>;

HotKeyTable& Table() {
  return HotKeyTableSlot::Get();
}

struct DefaultAssignment {
  std::string_view name;
  std::int16_t code;  // 0 stands for the code of "í", which depends on the code page
};

constexpr std::int16_t kSnapAnyPlaceholder = 0;

constexpr std::array<DefaultAssignment, 34> kDefaultAssignments = {{
    {"Help", 112},
    {"Undo", kCtrlKeyOffset + 'Z'},
    {"Redo", kCtrlKeyOffset + 'Y'},
    {"SnapAny", kSnapAnyPlaceholder},
    {"SnapPt", 'Y'},
    {"SnapGr", 'X'},
    {"SnapLi", 'C'},
    {"SnapArc", 'V'},
    {"SnapTx", 'B'},
    {"SnapSi", 'N'},
    {"SnapBlk", 'M'},
    {"HideToolBar", 'T'},
    {"ZoomByRect", 'A'},
    {"RefreshView", 'F'},
    {"Param1", 'O'},
    {"Param2", 'P'},
    {"Layers", 'R'},
    {"LastViewPosition", kCtrlKeyOffset + 'A'},
    {"PanLeft", 37},
    {"PanRight", 39},
    {"PanUp", 38},
    {"PanDown", 40},
    {"ZoomInByCenter", 107},
    {"ZoomOutByCenter", 109},
    {"ZoomInByMouse", 'Q'},
    {"ZoomOutByMouse", 'W'},
    {"ShowViewManagerForm", 'E'},
    {"Halt", 27},
    {"ShowContextMenu", 32},
    {"AddLiAddSi", 'D'},
    {"ZoomWindowOnOff", 'S'},
    {"AllVisible", kCtrlKeyOffset + 'W'},
    {"NextVector", kCtrlKeyOffset + 38},
    {"PrevVector", kCtrlKeyOffset + 40},
}};

}  // namespace

std::int16_t SnapAnyKeyCode() {
  // One byte in a single-byte code page; a double-byte one gives lead and trail byte as one number.
  const std::string ansi = platform::Utf8ToAnsi("\xC3\xAD");
  std::int32_t code = 0;
  for (const char byte : ansi) {
    code = (code << 8) | static_cast<unsigned char>(byte);
  }
  return static_cast<std::int16_t>(code);
}

HotKeys::HotKeys() {
  EnsureStringTables();
}

std::int16_t HotKeys::HotKeyCode(const std::string& functionName) const {
  const HotKeyTable& table = Table();
  const auto found = table.codeByName.find(FoldCase(functionName));
  return found == table.codeByName.end() ? kNoHotKey : found->second;
}

void HotKeys::ResetHotKeys() {
  ClearHotKeys();
  const std::int16_t snapAny = SnapAnyKeyCode();
  HotKeyTable& table = Table();
  for (const DefaultAssignment& assignment : kDefaultAssignments) {
    table.Add(assignment.code == kSnapAnyPlaceholder ? snapAny : assignment.code,
              std::string(assignment.name));
  }
}

void HotKeys::SetHotKeyCode(std::int16_t keyCode, const std::string& functionName) {
  if (keyCode == kNoHotKey) {
    return;
  }
  RemoveFnc(functionName);
  RemoveKey(keyCode);
  Table().Add(keyCode, functionName);
}

std::int32_t HotKeys::FunctionCount() const {
  return static_cast<std::int32_t>(Table().entries.size());
}

void HotKeys::DefaultKeys() const {
  throw LibError(kErrApplicationDefined, "QlxWCommon.HotKeys.DefaultKeys/1", "");
}

bool HotKeys::IsFncAssigned(const std::string& functionName) const {
  return HotKeyCode(functionName) != kNoHotKey;
}

bool HotKeys::IsKeyAssigned(std::int16_t keyCode) const {
  const HotKeyTable& table = Table();
  table.CheckWalkable();
  return table.usesOfCode.contains(keyCode);
}

void HotKeys::ClearHotKeys() {
  Table().Clear();
}

void HotKeys::RemoveFnc(const std::string& functionName) {
  HotKeyTable& table = Table();
  const std::string folded = FoldCase(functionName);
  if (!table.codeByName.contains(folded)) {
    return;
  }
  const auto entry = std::find_if(table.entries.begin(), table.entries.end(),
                                  [&](const Assignment& assignment) { return assignment.folded == folded; });
  table.RemoveAt(static_cast<std::size_t>(entry - table.entries.begin()));
}

void HotKeys::RemoveKey(std::int16_t keyCode) {
  HotKeyTable& table = Table();
  table.CheckWalkable();
  if (!table.usesOfCode.contains(keyCode)) {
    return;
  }
  const auto entry = std::find_if(table.entries.begin(), table.entries.end(),
                                  [&](const Assignment& assignment) { return assignment.code == keyCode; });
  table.RemoveAt(static_cast<std::size_t>(entry - table.entries.begin()));
}

std::string HotKeys::GetFncName(std::int16_t position) const {
  return Table().At(position).name;
}

std::int16_t HotKeys::GetKeyCode(std::int16_t position) const {
  return Table().At(position).code;
}

}  // namespace qlxw
