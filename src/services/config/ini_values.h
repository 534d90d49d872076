#pragma once
// The library's conventions for INI values on top of the profile format: comments outside double
// quotes, Boolean forms, and the texts that count as no value.
#include <cstdint>
#include <string>
#include <string_view>

#include "text/trim.h"

namespace qlxw {

// Position (from 1, in bytes of the UTF-8 text) of the first `find` at or after `start` that is not
// inside double quotes, counting quotes from the start of the text; 0 when there is none. Compare 1
// ignores letter case.
std::int32_t InStrNotQuoted(std::int32_t start, std::string_view text, std::string_view find,
                            std::int32_t compare);

// INIManager's cut: the value ends at the first unquoted ";", then at the first unquoted tab. Not trimmed.
std::string CutCommentAndTab(std::string_view text);

// INIManager5's cut: the value ends at the first unquoted ";" only. Not trimmed.
std::string CutComment(std::string_view text);

// "true" or "false".
std::string BoolToINIText(bool value);

// True when the text (longer than the word) starts with the word, in any letter case, followed by its
// end, a blank, a tab or ";"; a text as long as the word must equal it. Leading blanks are skipped
// first when asked.
bool StartsWithINIWord(std::string_view text, bool trimLeading, std::string_view word);

// The system's text-to-Boolean conversion (os/text_to_boolean.h): a number (0 is False, any other
// True) or the words true and false in any letter case. False, `value` untouched, when it fails.
bool TryTextToBoolean(std::string_view text, bool& value);

// The conversion above, or the fallback when it fails.
bool TextToBooleanOr(std::string_view text, bool fallback);

// INIManager5's reading of a Boolean value; false (and `value` untouched) when the text is none.
bool ParseINIBoolean(std::string_view text, bool& value);

// "", "null" and "NULL" (blanks around ignored) are no value: then the default is used.
bool IsNullValue(std::string_view text);

}  // namespace qlxw
