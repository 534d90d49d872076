#pragma once
// The IEnumXXX of a list taken when the enumeration starts (connection points, connections): each
// item handed out carries its own reference, as the caller releases it.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "com/runtime/unknown_impl.h"

namespace qlxw::com {

// `Enum` is the enumerator interface, `Out` what its Next hands out, `Held` what the snapshot keeps,
// `Give` makes an `Out` (with its reference) from a `Held`.
template <class Enum, class Out, class Held, Out (*Give)(const Held&)>
class SnapshotEnumerator final : public UnknownImpl<SnapshotEnumerator<Enum, Out, Held, Give>, Enum> {
 public:
  using Items = std::vector<Held>;

  SnapshotEnumerator(std::shared_ptr<const Items> items, std::size_t position) noexcept
      : items_(std::move(items)), position_(position) {}

  static HRESULT Start(Items items, Enum** out) {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    auto* enumerator =
        new (std::nothrow) SnapshotEnumerator(std::make_shared<const Items>(std::move(items)), 0);
    if (enumerator == nullptr) {
      return E_OUTOFMEMORY;
    }
    return SnapshotEnumerator::HandOut(enumerator, __uuidof(Enum), reinterpret_cast<void**>(out));
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Out* items, ULONG* fetched) override {
    if (items == nullptr || (wanted > 1 && fetched == nullptr)) {
      return E_POINTER;
    }
    ULONG given = 0;
    while (given < wanted && position_ < items_->size()) {
      items[given++] = Give((*items_)[position_++]);
    }
    if (fetched != nullptr) {
      *fetched = given;
    }
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = items_->size() - position_;
    position_ += std::min<std::size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Enum** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    auto* clone = new (std::nothrow) SnapshotEnumerator(items_, position_);
    if (clone == nullptr) {
      return E_OUTOFMEMORY;
    }
    return SnapshotEnumerator::HandOut(clone, __uuidof(Enum), reinterpret_cast<void**>(out));
  }

 private:
  std::shared_ptr<const Items> items_;
  std::size_t position_;
};

}  // namespace qlxw::com
