// qlxw: a host of the library on the command line, for people and scripts.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "api/cls_common.h"
#include "api/library_state.h"
#include "api/version.h"
#include "cli/commands.h"
#include "cli/completion.h"
#include "cli/context.h"
#include "cli/error_text.h"
#include "cli/output.h"
#include "cli/printable.h"
#include "diag/cls_debug.h"
#include "errors/lib_error.h"
#include "language/language_runtime.h"
#include "language/language_subscription.h"
#include "language/localized_strings.h"
#include "os/notices.h"
#include "os/program_arguments.h"
#include "os/ui_locale.h"

namespace {

using qlxw::cli::Field;
using qlxw::cli::Value;

// A locale that names no language (C, POSIX, none): a person at such a terminal reads English. Hosts
// keep the library's rule, which reads Hungarian.
bool NamesNoLanguage(std::string_view locale) {
  return locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// Notices reach the person as they would a host's user; beeps only with --beep, as a terminal is no
// place for a bell nobody asked for.
class TerminalNotices final : public qlxw::platform::NoticeSink {
 public:
  explicit TerminalNotices(bool beeps) : beeps_(beeps) {}
  void Notice(std::string_view text, std::string_view caption, qlxw::platform::NoticeIcon icon) override {
    qlxw::platform::detail::SystemNotice(text, caption, icon);
  }
  void Beep() override {
    if (beeps_) {
      qlxw::platform::detail::SystemBeep();
    }
  }

 private:
  bool beeps_;
};

// What a host does at start-up: the language (--lang, else QLXW_LANG or the user's locale), the trace
// settings, then the root object.
int Run(const qlxw::cli::CommandLine& line, std::ostream& out) {
  TerminalNotices notices(line.global.beep);
  qlxw::platform::ReplaceNoticeSink(&notices);
  const std::shared_ptr<void> restoring(nullptr, [](void*) { qlxw::platform::ReplaceNoticeSink(nullptr); });
  if (line.global.language) {
    qlxw::ChangeUILanguage(*line.global.language);
  } else if (std::getenv("QLXW_LANG") == nullptr && NamesNoLanguage(qlxw::platform::SystemUiLocaleName())) {
    qlxw::ChangeUILanguage(qlxw::kLangEnglishUK);
  }
  const qlxw::LanguageSubscription language;
  language.AdoptRuntimeLanguage();
  // The root object's creation writes the first trace record: a trace file that cannot be written
  // fails here.
  try {
    if (line.global.traceFile) {
      qlxw::clsDebug debug;
      debug.sLogFileName(*line.global.traceFile);
      debug.bCallLog(true);
    }
    qlxw::GetRootObject();
  } catch (const qlxw::LibError& error) {
    throw qlxw::cli::CommandError(error.Description(), line.global.traceFile.value_or(""), error);
  }
  const int status = qlxw::cli::RunCommand(line, out);
  // The host ends: the INI manager writes its defaults back now, not at some point after main.
  qlxw::ResetLibraryState();
  return status;
}

// Help and version: text, or one JSON document holding it.
int Inform(const qlxw::cli::CommandLine& line, std::ostream& out) {
  Value shown;
  if (line.global.help) {
    std::ostringstream usage;
    qlxw::cli::PrintUsage(usage, line.words);
    shown = Value::Record({{.name = "usage", .value = Value::Verbatim(usage.str())}});
  } else {
    const std::string version(qlxw::LibraryVersion());
    shown = Value::Record({{.name = "version", .value = Value(version).Shown("qlxw " + version)}});
  }
  qlxw::cli::Print({.line = line, .out = out, .args = {}}, shown);
  return 0;
}

// One failure, on one line of stderr, and as the JSON document when JSON was asked for.
struct Failure {
  std::string kind;     // "usage", "library" or "system"
  std::string message;  // the line printed
  std::string file;
  std::string number;  // a library error's number, "0x8004000N"
  std::string help;    // for usage errors: where to read more
};

int Report(const Failure& failure, bool json, int status) {
  std::cerr << "qlxw: " << qlxw::cli::Printable(failure.message) << "\n";
  if (json) {
    std::vector<Field> fields = {{.name = "kind", .value = failure.kind},
                                 {.name = "message", .value = failure.message}};
    // The members that apply only: a number for a library error, a file where there is one, help.
    const auto add = [&fields](const char* name, const std::string& text) {
      if (!text.empty()) {
        fields.push_back({.name = name, .value = text});
      }
    };
    add("number", failure.number);
    add("file", failure.file);
    add("help", failure.help);
    std::cout << Value::Record({{.name = "error", .value = Value::Record(std::move(fields))}}).Json() << "\n";
  }
  return status;
}

// Output that did not arrive (a full disk, a closed pipe) is a failure too.
int CheckOutput(int status) {
  std::cout.flush();
  if (!std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    const int error = errno;
    std::cerr << "qlxw: the output could not be written"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return 1;
  }
  return status;
}

int Main(const std::vector<std::string>& args) {
  qlxw::cli::CommandLine line;
  try {
    // The shells' question comes before any parsing: the line it is about is still being typed.
    if (!args.empty() && args.front() == "__complete") {
      qlxw::cli::Complete({args.begin() + 1, args.end()}, std::cout);
      return 0;
    }
    line = qlxw::cli::ParseCommandLine(args, qlxw::cli::CommandOptionTakesValue);
    if (auto topic = qlxw::cli::HelpTopic(line.words)) {
      line.words = std::move(*topic);
      line.global.help = true;
    }
    if (line.global.help || line.global.version) {
      return Inform(line, std::cout);
    }
    return Run(line, std::cout);
  } catch (const qlxw::cli::UsageError& error) {
    const std::vector<std::string>& words = error.Words().empty() ? line.words : error.Words();
    const std::string help = qlxw::cli::HelpHint(words);
    return Report({"usage", std::string(error.what()) + " (see '" + help + "')", "", "", help},
                  line.global.json, 2);
  } catch (const qlxw::cli::CommandError& error) {
    std::string message = error.File().empty() ? "" : error.File() + ": ";
    std::string number;
    if (error.Cause()) {
      message += "error " + qlxw::cli::ErrorText(*error.Cause());
      number = qlxw::cli::ErrorNumberText(*error.Cause());
      // The one way a person gets there: the main version given as 0.
      if (error.Cause()->Number() == qlxw::kLibErrNotInitialized && line.global.mainVersion == 0) {
        message += " (--main-ver 0 sets no main version: give the host's, 5 if none is given)";
      }
    } else {
      message += error.what();
    }
    return Report({error.Cause() ? "library" : "command", message, error.File(), number, ""},
                  line.global.json, 1);
  } catch (const qlxw::LibError& error) {
    return Report(
        {"library", "error " + qlxw::cli::ErrorText(error), "", qlxw::cli::ErrorNumberText(error), ""},
        line.global.json, 1);
  } catch (const std::exception& error) {
    return Report({"system", std::string("error: ") + error.what(), "", "", ""}, line.global.json, 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qlxw::platform::UseUtf8Console();
  return CheckOutput(Main(qlxw::platform::ProgramArguments(argc, argv)));
}
