#pragma once
// Tags are path variables such as "<UserFolder>": a "<", then everything up to the first ">" after it.
// Nothing is escaped, and a "<" with no later ">" starts no tag.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlxw {

// True when the text, with leading and trailing blanks removed, is "<...>" (two characters at least).
// Then `inner`, when given, receives the text between the brackets; otherwise `inner` is left alone.
bool IsTag(std::string_view text, std::string* inner = nullptr);

// The position (from 1, counted in UTF-16 units as a COM host counts) of the first tag, and the tag
// itself in `tag`; 0 and an empty tag when there is none.
std::int32_t FindTag(std::string_view text, std::string& tag);

// Splits at the first tag: `before` and `tag` are filled, the text after the tag is returned. Without a
// tag, `before` is the whole text and both `tag` and the result are empty.
std::string SplitAtTag(std::string_view text, std::string& before, std::string& tag);

// Alternating plain pieces and tags. Each plain piece is kept even when empty, so the result is never
// empty; no empty piece follows a tag that ends the text.
std::vector<std::string> SplitTags(std::string_view text);

}  // namespace qlxw
