#pragma once
// The collection object hosts receive: values of mixed type in a keyed list.
#include "collections/keyed_list.h"
#include "values/variant.h"

namespace qlxw {

using Collection = KeyedList<Variant>;

}  // namespace qlxw
