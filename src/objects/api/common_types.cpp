#include "api/common_types.h"

#include "language/localized_strings.h"

namespace qlxw {

clsCommonTypes::clsCommonTypes() {
  EnsureStringTables();
}

}  // namespace qlxw
