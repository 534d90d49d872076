#pragma once
// Telling the user something the library cannot return to its caller: a message box on Windows,
// a line on standard error elsewhere; and the system's beep.
#include <string_view>

namespace qlxw::platform {

// Waits until the user has seen it where there is a desktop; returns at once where there is none.
void ShowNotice(std::string_view text, std::string_view caption);

void SoundBeep();

}  // namespace qlxw::platform
