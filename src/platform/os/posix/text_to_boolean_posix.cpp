#include <langinfo.h>
#include <clocale>

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
  return AutomationTextToBoolean(text, UserNumberSymbols());
}

}  // namespace qlxw::platform
