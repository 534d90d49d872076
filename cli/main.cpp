// qlxw: a host of the library on the command line, for people and scripts.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "api/cls_common.h"
#include "api/library_state.h"
#include "api/version.h"
#include "cli/commands.h"
#include "cli/error_text.h"
#include "diag/cls_debug.h"
#include "errors/lib_error.h"
#include "language/language_runtime.h"
#include "language/language_subscription.h"

namespace {

// What a host does at start-up: trace settings first, then the language, then the root object.
int Run(const qlxw::cli::CommandLine& line) {
  if (line.global.traceFile) {
    qlxw::clsDebug debug;
    debug.sLogFileName(*line.global.traceFile);
    debug.bCallLog(true);
  }
  if (line.global.language) {
    qlxw::ChangeUILanguage(*line.global.language);
  }
  const qlxw::LanguageSubscription language;
  language.AdoptRuntimeLanguage();
  qlxw::GetRootObject();
  const int status = qlxw::cli::RunCommand(line, std::cout);
  // The host ends: the INI manager writes its defaults back now, not at some point after main.
  qlxw::ResetLibraryState();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const qlxw::cli::CommandLine line = qlxw::cli::ParseCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), qlxw::cli::CommandOptionTakesValue);
    if (line.global.help) {
      qlxw::cli::PrintUsage(std::cout);
      return 0;
    }
    if (line.global.version) {
      std::cout << "qlxw " << qlxw::LibraryVersion() << "\n";
      return 0;
    }
    return Run(line);
  } catch (const qlxw::cli::UsageError& error) {
    std::cerr << "qlxw: " << error.what() << "\n\n";
    qlxw::cli::PrintUsage(std::cerr);
    return 2;
  } catch (const qlxw::LibError& error) {
    std::cerr << "error " << qlxw::cli::ErrorText(error) << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "error: " << error.what() << "\n";
    return 1;
  }
}
