#include "com/runtime/variant_enumerator.h"

#include <algorithm>
#include <new>

namespace qlxw::com {

HRESULT VariantEnumerator::Start(std::shared_ptr<const Snapshot> snapshot, IUnknown** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  auto* enumerator = new (std::nothrow) VariantEnumerator(std::move(snapshot), 0);
  if (enumerator == nullptr) {
    return E_OUTOFMEMORY;
  }
  return HandOut(enumerator, IID_IUnknown, reinterpret_cast<void**>(out));
}

HRESULT VariantEnumerator::Next(ULONG wanted, VARIANT* items, ULONG* fetched) {
  if (items == nullptr || (wanted > 1 && fetched == nullptr)) {
    return E_POINTER;
  }
  ULONG given = 0;
  const std::size_t start = position_;
  while (given < wanted && position_ < snapshot_->count) {
    VARIANT& item = items[given];
    VariantInit(&item);
    HRESULT made = E_OUTOFMEMORY;
    try {
      made = snapshot_->itemAt(position_, &item);
    } catch (...) {  // NOLINT(bugprone-empty-catch): reported as out of memory below
    }
    if (FAILED(made)) {
      // Nothing handed out after all: the caller owns no item of a failed call, and a later call
      // starts where this one did.
      for (ULONG i = 0; i <= given; ++i) {
        VariantClear(&items[i]);
      }
      if (fetched != nullptr) {
        *fetched = 0;
      }
      position_ = start;
      return made;
    }
    ++given;
    ++position_;
  }
  if (fetched != nullptr) {
    *fetched = given;
  }
  return given == wanted ? S_OK : S_FALSE;
}

HRESULT VariantEnumerator::Skip(ULONG count) {
  const std::size_t left = snapshot_->count - position_;
  position_ += std::min<std::size_t>(left, count);
  return count <= left ? S_OK : S_FALSE;
}

HRESULT VariantEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT VariantEnumerator::Clone(IEnumVARIANT** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  auto* clone = new (std::nothrow) VariantEnumerator(snapshot_, position_);
  if (clone == nullptr) {
    return E_OUTOFMEMORY;
  }
  return HandOut(clone, IID_IEnumVARIANT, reinterpret_cast<void**>(out));
}

}  // namespace qlxw::com
