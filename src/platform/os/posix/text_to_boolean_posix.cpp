#include <langinfo.h>
#include <clocale>
#include <cstdlib>
#include <string>
#include <utility>

#include "os/text_to_boolean.h"
#include "text/automation_boolean.h"

namespace qlxw::platform {
namespace {

// The number format of the user's locale (the environment's, whatever the process's C locale is).
NumberSymbols UserNumberSymbols() {
  NumberSymbols symbols{".", "", ""};
  const locale_t user = newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) {
    return symbols;
  }
  symbols.decimal = nl_langinfo_l(RADIXCHAR, user);
  symbols.thousands = nl_langinfo_l(THOUSEP, user);
  // The currency symbol comes after a mark of where it stands ("-$", "+ Ft").
  const std::string currency = nl_langinfo_l(CRNCYSTR, user);
  symbols.currency = currency.empty() ? std::string() : currency.substr(1);
  freelocale(user);
  return symbols;
}

}  // namespace

std::optional<bool> SystemTextToBoolean(std::string_view text) {
  // Making a locale costs far more than a conversion: kept while the variables that choose it stay.
  std::string chosenBy;
  for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LANG"}) {
    const char* value = std::getenv(name);
    chosenBy.append(value == nullptr ? "-" : value).push_back('\n');
  }
  thread_local std::string keptFor;
  thread_local NumberSymbols kept;
  if (keptFor.empty() || chosenBy != keptFor) {
    kept = UserNumberSymbols();
    keptFor = std::move(chosenBy);
  }
  return AutomationTextToBoolean(text, kept);
}

}  // namespace qlxw::platform
