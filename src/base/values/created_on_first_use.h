#pragma once
#include <memory>

namespace qlxw {

// The shared object held in `slot`, made on first use.
template <class T>
std::shared_ptr<T>& CreatedOnFirstUse(std::shared_ptr<T>& slot) {
  if (!slot) {
    slot = std::make_shared<T>();
  }
  return slot;
}

}  // namespace qlxw
