#pragma once
// For Each over a collection the server hands out: an IEnumVARIANT over a snapshot taken when the
// enumeration starts, so that a host changing the collection inside its loop does not upset the walk.
#include <windows.h>

#include <oaidl.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

#include "com/runtime/unknown_impl.h"

namespace qlxw::com {

class VariantEnumerator final : public UnknownImpl<VariantEnumerator, IEnumVARIANT> {
 public:
  // The snapshot: how many items, and how to write item i into an empty VARIANT the caller then owns.
  struct Snapshot {
    std::size_t count = 0;
    std::function<HRESULT(std::size_t index, VARIANT* item)> itemAt;
  };

  // A new enumerator at the first item, handed out as IUnknown (what _NewEnum returns).
  static HRESULT Start(std::shared_ptr<const Snapshot> snapshot, IUnknown** out);

  VariantEnumerator(std::shared_ptr<const Snapshot> snapshot, std::size_t position) noexcept
      : snapshot_(std::move(snapshot)), position_(position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

 private:
  std::shared_ptr<const Snapshot> snapshot_;
  std::size_t position_;
};

}  // namespace qlxw::com
