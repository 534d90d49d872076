#pragma once
// HotKeys: which key code each host function has. Every instance works on the thread's one table, in
// which positions count from 1 in the order assignments were made.
#include <cstdint>
#include <string>

namespace qlxw {

// The absence of a key; never stored.
inline constexpr std::int16_t kNoHotKey = -1;

// A key together with Ctrl is written as this plus the key's code.
inline constexpr std::int16_t kCtrlKeyOffset = 2000;

class HotKeys {
 public:
  // Sets up the string tables; the table itself is left as it is.
  HotKeys();

  // The function's key, or kNoHotKey. Names match in any letter case.
  std::int16_t HotKeyCode(const std::string& functionName) const;
  // Empties the table, then adds the default assignments in their order.
  void ResetHotKeys();
  // The function loses its old key, the key its old function; the pair goes to the last position.
  // kNoHotKey does nothing at all.
  void SetHotKeyCode(std::int16_t keyCode, const std::string& functionName);
  std::int32_t FunctionCount() const;
  // Always fails with 1001.
  [[noreturn]] void DefaultKeys() const;
  bool IsFncAssigned(const std::string& functionName) const;
  // Fails with overflow (6) when the table holds more than 32767 assignments.
  bool IsKeyAssigned(std::int16_t keyCode) const;
  void ClearHotKeys();
  void RemoveFnc(const std::string& functionName);
  // Removes the first assignment with this code, if any; overflow (6) as IsKeyAssigned.
  void RemoveKey(std::int16_t keyCode);
  // Fail with 9 outside 1 to FunctionCount.
  std::string GetFncName(std::int16_t position) const;
  std::int16_t GetKeyCode(std::int16_t position) const;
};

// The key code of "í" in the 8-bit code page: where the default table puts "SnapAny".
std::int16_t SnapAnyKeyCode();

}  // namespace qlxw
