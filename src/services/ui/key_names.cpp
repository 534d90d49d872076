#include "ui/key_names.h"

#include <cstdio>

#include "os/codepage.h"
#include "ui/hot_keys.h"

namespace qlxw {
namespace {

// Virtual-key codes with a name of their own.
constexpr std::int32_t kKeyTab = 0x09;
constexpr std::int32_t kKeyEnter = 0x0D;
constexpr std::int32_t kKeyEsc = 0x1B;
constexpr std::int32_t kKeySpace = 0x20;
constexpr std::int32_t kKeyLeft = 0x25;
constexpr std::int32_t kKeyUp = 0x26;
constexpr std::int32_t kKeyRight = 0x27;
constexpr std::int32_t kKeyDown = 0x28;
constexpr std::int32_t kKeyNumPlus = 0x6B;
constexpr std::int32_t kKeyNumMinus = 0x6D;
constexpr std::int32_t kKeyF1 = 0x70;
constexpr std::int32_t kKeyF24 = 0x87;

// The name of a key without Ctrl.
std::string PlainKeyName(std::int32_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
    return {static_cast<char>(code)};
  }
  if (code >= kKeyF1 && code <= kKeyF24) {
    std::string name = "F";
    name += std::to_string(code - kKeyF1 + 1);
    return name;
  }
  switch (code) {
    case kKeyTab:
      return "Tab";
    case kKeyEnter:
      return "Enter";
    case kKeyEsc:
      return "Esc";
    case kKeySpace:
      return "Space";
    case kKeyLeft:
      return "Left";
    case kKeyUp:
      return "Up";
    case kKeyRight:
      return "Right";
    case kKeyDown:
      return "Down";
    case kKeyNumPlus:
      return "Num +";
    case kKeyNumMinus:
      return "Num -";
    default:
      break;
  }
  if (code >= 0x80 && code <= 0xFF) {
    return platform::AnsiToUtf8(std::string(1, static_cast<char>(code)));
  }
  char text[16];
  std::snprintf(text, sizeof text, "VK 0x%02X", static_cast<unsigned>(code) & 0xFFFFu);
  return text;
}

}  // namespace

std::string KeyName(std::int16_t keyCode) {
  std::string name;
  std::int32_t code = keyCode;
  for (; code >= kCtrlKeyOffset; code -= kCtrlKeyOffset) {
    name += "Ctrl+";
  }
  name += PlainKeyName(code);
  return name;
}

}  // namespace qlxw
