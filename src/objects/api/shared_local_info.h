#pragma once
// The thread's shared LocalInfo, made on the first request by anyone, and LocalInfo objects whose
// theme is a DefaultTheme.
#include <memory>

#include "ui/local_info.h"

namespace qlxw {

// A new LocalInfo whose Theme() is a DefaultTheme.
std::shared_ptr<LocalInfo> MakeLocalInfo();

// The same object on every call on this thread.
std::shared_ptr<LocalInfo> GetLocalInfo();

}  // namespace qlxw
