#include "core/common_types.h"

#include "ui/localized_strings.h"

namespace qlxw {

clsCommonTypes::clsCommonTypes() {
  EnsureStringTables();
}

}  // namespace qlxw
