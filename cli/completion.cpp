#include "cli/completion.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "cli/command_line.h"
#include "cli/commands.h"

namespace qlxw::cli {
namespace {

// The words before the one completed, read as ParseCommandLine reads them, though an unknown option
// or a missing value is no error here: the line is still being typed.
struct Typed {
  std::vector<std::string> given;  // the command's words and arguments
  bool optionsEnded = false;       // after "--"
  std::string_view value;          // the value the word completed is, after an option that takes one
};

// The options the line takes after the words given: the global ones and the command's.
std::vector<OptionName> OptionsAfter(const std::vector<std::string>& given) {
  std::vector<OptionName> options = GlobalOptionNames();
  const std::vector<OptionName> own = WhatMayFollow(given).options;
  options.insert(options.end(), own.begin(), own.end());
  return options;
}

// The value an option takes, as the help writes it; empty for a switch and for an unknown option.
std::string_view ValueOf(std::string_view name, const std::vector<std::string>& given) {
  const std::vector<OptionName> options = OptionsAfter(given);
  const auto found = std::find_if(options.begin(), options.end(),
                                  [name](const OptionName& option) { return option.name == name; });
  return found == options.end() ? std::string_view() : found->value;
}

Typed Read(const std::vector<std::string>& words, std::size_t count) {
  Typed typed;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& word = words[i];
    if (!typed.value.empty()) {
      typed.value = {};
    } else if (typed.optionsEnded || word.size() < 2 || word[0] != '-') {
      typed.given.push_back(word);
    } else if (word == "--") {
      typed.optionsEnded = true;
    } else if (word.find('=') == std::string::npos) {
      typed.value = ValueOf(word, typed.given);
    }
  }
  return typed;
}

void OfferWords(std::ostream& out, std::vector<std::string> words, const std::string& start) {
  std::erase_if(words, [&start](const std::string& word) { return !word.starts_with(start); });
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  out << "words\n";
  for (const std::string& word : words) {
    out << word << "\n";
  }
}

// A value written as its choices ("true|false") offers them; FILE and DIR the shell's names.
void OfferValue(std::ostream& out, std::string_view value, const std::string& start) {
  if (value.find('|') != std::string_view::npos) {
    std::vector<std::string> choices;
    for (std::size_t from = 0, bar = 0; bar != std::string_view::npos; from = bar + 1) {
      bar = value.find('|', from);
      choices.emplace_back(value.substr(from, bar == std::string_view::npos ? bar : bar - from));
    }
    OfferWords(out, choices, start);
    return;
  }
  out << (value == "FILE" ? "files" : value == "DIR" ? "folders" : "value") << "\n";
}

}  // namespace

void Complete(const std::vector<std::string>& args, std::ostream& out) {
  const std::int32_t index = ParseInt32(args.empty() ? "" : args.front(), "word index");
  if (index < 0) {
    throw UsageError("not a valid word index: '" + args.front() + "'");
  }
  const std::vector<std::string> words(args.begin() + 1, args.end());
  const std::size_t at = std::min(static_cast<std::size_t>(index), words.size());
  const Typed typed = Read(words, at);
  const std::string word = at < words.size() ? words[at] : "";
  if (!typed.value.empty()) {
    OfferValue(out, typed.value, word);
  } else if (typed.optionsEnded || !word.starts_with('-')) {
    // "help ini ..." asks for the help of "ini ...": its words follow.
    Continuations next = WhatMayFollow(HelpTopic(typed.given).value_or(typed.given));
    if (typed.given == std::vector<std::string>{"help"}) {
      // "help COMMAND" shows that command's help: the commands follow as well as help's own words.
      const Continuations commands = WhatMayFollow({});
      next.words.insert(next.words.end(), commands.words.begin(), commands.words.end());
    }
    // What an argument is the tables do not say: files, as a shell offers by default.
    const bool anyWord = std::any_of(next.words.begin(), next.words.end(),
                                     [&word](const std::string& each) { return each.starts_with(word); });
    if (!anyWord && next.argument) {
      out << "files\n";
    } else {
      OfferWords(out, next.words, word);
    }
  } else if (const std::size_t equals = word.find('='); equals != std::string::npos) {
    OfferValue(out, ValueOf(word.substr(0, equals), typed.given), word.substr(equals + 1));
  } else {
    std::vector<std::string> names;
    for (const OptionName& option : OptionsAfter(typed.given)) {
      names.emplace_back(option.name);
    }
    OfferWords(out, names, word);
  }
}

}  // namespace qlxw::cli
