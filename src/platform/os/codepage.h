#pragma once
// The system's 8-bit code page: what INI, trace and dictionary files are written in.
#include <cstdint>
#include <string>
#include <string_view>

namespace qlxw::platform {

// Windows' ANSI code page; elsewhere windows-1250, or the number held by QLXW_ACP.
std::int32_t AnsiCodePage();

// UTF-8 to the 8-bit code page. A character the code page lacks becomes '?', as on Windows.
std::string Utf8ToAnsi(std::string_view utf8);

// The 8-bit code page to UTF-8. Every byte maps to exactly one character.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace qlxw::platform
