#pragma once
// Where the language runtime learns the user's language when nothing else names one.
#include <string>

namespace qlxw::platform {

// The user interface locale name: "hu_HU.UTF-8", "sr_RS@latin", "sr-Latn-RS", "en-GB" ... or empty.
std::string SystemUiLocaleName();

}  // namespace qlxw::platform
