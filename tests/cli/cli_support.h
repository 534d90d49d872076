#pragma once
// Running the qlxw command as a script would, for the command tests (POSIX only).
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace qlxw::testing {

struct CommandResult {
  int status;
  std::string out;
  std::string err;
};

inline std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

// Runs `prefix` (a shell prefix such as "env NAME=VALUE", or empty) then qlxw with `args`, standard
// output and error kept in `scratch`, no input.
inline CommandResult RunQlxw(const std::string& prefix, const std::vector<std::string>& args,
                             const ScratchFolder& scratch) {
  std::string command = prefix + " " + ShellQuoted(QLXW_CLI_PATH);
  for (const std::string& arg : args) {
    command += " " + ShellQuoted(arg);
  }
  const std::string out = scratch.File("out");
  const std::string err = scratch.File("err");
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
}

// Whether `text` is one JSON value (RFC 8259) followed by a line end: enough to tell a script's parser
// would take it.
class JsonChecker {
 public:
  explicit JsonChecker(const std::string& text) : text_(text) {}
  bool OneDocument() {
    Blanks();
    if (!Value()) {
      return false;
    }
    Blanks();
    return at_ == text_.size();
  }

 private:
  // JSON nests: a value holds members that are values.
  // NOLINTNEXTLINE(misc-no-recursion)
  bool Value() {
    Blanks();
    if (at_ >= text_.size()) {
      return false;
    }
    switch (text_[at_]) {
      case '{':
        return Members('}', true);
      case '[':
        return Members(']', false);
      case '"':
        return String();
      case 't':
        return Word("true");
      case 'f':
        return Word("false");
      case 'n':
        return Word("null");
      default:
        return Number();
    }
  }
  // NOLINTNEXTLINE(misc-no-recursion)
  bool Members(char close, bool named) {
    ++at_;
    Blanks();
    if (Take(close)) {
      return true;
    }
    do {
      Blanks();
      if (named && !(String() && (Blanks(), Take(':')))) {
        return false;
      }
      if (!Value()) {
        return false;
      }
      Blanks();
    } while (Take(','));
    return Take(close);
  }
  bool String() {
    if (!Take('"')) {
      return false;
    }
    while (at_ < text_.size() && text_[at_] != '"') {
      const auto c = static_cast<unsigned char>(text_[at_]);
      if (c < 0x20) {
        return false;
      }
      if (c == '\\') {
        ++at_;
        if (at_ >= text_.size() || std::string("\"\\/bfnrtu").find(text_[at_]) == std::string::npos) {
          return false;
        }
      } else if (c >= 0x80) {
        // Only well-formed UTF-8 passes.
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (length == 0 || at_ + length > text_.size()) {
          return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
          if ((static_cast<unsigned char>(text_[at_ + i]) & 0xC0) != 0x80) {
            return false;
          }
        }
        at_ += length - 1;
      }
      ++at_;
    }
    return Take('"');
  }
  bool Number() {
    const std::size_t start = at_;
    while (at_ < text_.size() && std::string("+-0123456789.eE").find(text_[at_]) != std::string::npos) {
      ++at_;
    }
    return at_ > start;
  }
  bool Word(const std::string& word) {
    if (text_.compare(at_, word.size(), word) != 0) {
      return false;
    }
    at_ += word.size();
    return true;
  }
  bool Take(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Blanks() {
    while (at_ < text_.size() && std::string(" \t\r\n").find(text_[at_]) != std::string::npos) {
      ++at_;
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

inline bool IsOneJsonDocument(const std::string& text) {
  return !text.empty() && text.back() == '\n' && JsonChecker(text).OneDocument();
}

}  // namespace qlxw::testing
