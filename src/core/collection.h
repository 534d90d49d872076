#pragma once
// The collection object hosts receive: values of mixed type in a keyed list.
#include "core/keyed_list.h"
#include "core/variant.h"

namespace qlxw {

using Collection = KeyedList<Variant>;

}  // namespace qlxw
