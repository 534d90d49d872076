#pragma once
// Values of mixed type between the core and COM variants: the conversions of the automation seam.
#include "os/windows/automation_values.h"

namespace qlxw::com {

using platform::FromVariant;
using platform::IsMissing;
using platform::ToVariant;

}  // namespace qlxw::com
