#include "tests/fuzz/profile_fuzz_target.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "profile/profile_editing.h"
#include "profile/profile_reading.h"
#include "profile/profile_section_search.h"

namespace qlxw::fuzz {
namespace {

void Check(bool holds, const char* rule) {
  if (!holds) {
    std::fprintf(stderr, "profile rule broken: %s\n", rule);
    std::abort();
  }
}

template <class Char>
Char Lower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? Char(c + 32) : c;
}

struct AsciiEquals {
  template <class View>
  bool operator()(View a, View b) const {
    if (a.size() != b.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (Lower(a[i]) != Lower(b[i])) {
        return false;
      }
    }
    return true;
  }
};

// Names and values that read back as written: letters, digits and underscores; values without blanks
// or quotes at their ends and without line breaks.
bool PlainName(std::string_view name) {
  return std::ranges::all_of(name, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

bool PlainValue(std::string_view value) {
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    return false;
  }
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) {
    return false;
  }
  return value.size() < 2 || value.front() != value.back() || (value.front() != '"' && value.front() != '\'');
}

std::size_t LineEnds(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++count;
    }
  }
  return count;
}

// The anchor the search by anchor would take under AsciiEquals: the longest run of bytes that are no
// ASCII letter and no blank.
profile::NameAnchor AsciiAnchor(std::string_view section) {
  return profile::LongestRun(section,
                             [](char c) { return Lower(c) == c && !(c >= 'a' && c <= 'z') && !IsBlank(c); });
}

template <class Char>
std::basic_string<Char> Widen(std::string_view text) {
  return std::basic_string<Char>(text.begin(), text.end());
}

template <class Char>
void Exercise(std::string_view sectionBytes, std::string_view keyBytes, std::string_view valueBytes,
              int operation, std::string_view contentBytes) {
  using View = std::basic_string_view<Char>;
  const auto section = Widen<Char>(sectionBytes);
  const auto key = Widen<Char>(keyBytes);
  const auto value = Widen<Char>(valueBytes);
  const auto content = Widen<Char>(contentBytes);
  const AsciiEquals equals;

  const auto before = profile::FindValue<Char>(content, section, key, equals);
  if constexpr (sizeof(Char) == 1) {
    const std::string_view trimmed = TrimSpaces(sectionBytes);
    Check(profile::FindHeaderByAnchor(content, trimmed, AsciiAnchor(sectionBytes), equals) ==
              profile::FindHeader<char>(content, trimmed, equals),
          "the search by anchor finds the header the search by header finds");
    Check(profile::FindValueByAnchor(content, section, key, AsciiAnchor(sectionBytes), equals) == before,
          "the read by anchor finds what the read by header finds");
  }
  // Filled in place: gcc 12 misreads the conditional form as possibly uninitialised.
  std::optional<View> keyArgument;
  std::optional<View> valueArgument;
  if (operation != 2) {
    keyArgument.emplace(key);
  }
  if (operation == 0) {
    valueArgument.emplace(value);
  }
  std::basic_string<Char> edited;
  const bool changed = profile::Edit<Char>(content, section, keyArgument, valueArgument, equals, edited);
  const std::basic_string<Char> after = changed ? edited : content;

  if (operation == 0) {
    Check(LineEnds(std::string(after.begin(), after.end())) <= LineEnds(contentBytes) + 4,
          "a write adds at most a section, a key and two line ends");
    if (PlainName(sectionBytes) && PlainName(keyBytes) && PlainValue(valueBytes)) {
      const auto read = profile::FindValue<Char>(after, section, key, equals);
      Check(read.has_value() && *read == View(value), "a written value reads back");
      std::basic_string<Char> again;
      Check(!profile::Edit<Char>(after, section, keyArgument, valueArgument, equals, again) || again == after,
            "writing the same value twice changes nothing the second time");
    }
  } else {
    Check(after.size() <= content.size(), "deleting never adds");
    if (operation == 1 && !before) {
      Check(after == content, "deleting a key that is not there changes nothing");
    }
  }
}

}  // namespace

void FuzzProfileText(std::string_view input) {
  if (input.size() < 4) {
    return;
  }
  const auto length = [&](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(input[at]) % 16);
  };
  const std::size_t sectionLength = length(0);
  const std::size_t keyLength = length(1);
  const std::size_t valueLength = length(2);
  const int operation = static_cast<unsigned char>(input[3]) % 3;
  std::string_view rest = input.substr(4);
  if (rest.size() < sectionLength + keyLength + valueLength) {
    return;
  }
  const std::string_view section = rest.substr(0, sectionLength);
  const std::string_view key = rest.substr(sectionLength, keyLength);
  const std::string_view value = rest.substr(sectionLength + keyLength, valueLength);
  const std::string_view content = rest.substr(sectionLength + keyLength + valueLength);
  // The profile layer refuses names and values with line breaks before they reach the text engine.
  const std::string_view breaks("\r\n\0", 3);
  if ((std::string(section) + std::string(key) + std::string(value)).find_first_of(breaks) !=
      std::string::npos) {
    return;
  }
  Exercise<char>(section, key, value, operation, content);
  Exercise<char16_t>(section, key, value, operation, content);
}

}  // namespace qlxw::fuzz
