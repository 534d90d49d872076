#pragma once
// Where a call leaves the library: every failure becomes an HRESULT, its description error info.

#include <windows.h>

#include <string_view>

namespace qlxw::com {

// A COM failure of the automation layer itself (a null out-pointer, an unknown interface).
class ComFailure {
 public:
  explicit ComFailure(HRESULT result) noexcept : result_(result) {}
  HRESULT Result() const noexcept { return result_; }

 private:
  HRESULT result_;
};

// To be called inside a catch block: the HRESULT for the exception in flight, with error info set
// (description, and the source the error names or "QlxWCommon.<className>").
HRESULT ReportException(std::string_view className, const GUID& iid) noexcept;

// Runs the body of an interface method. The one place where exceptions become HRESULTs.
template <class Body>
HRESULT Boundary(std::string_view className, const GUID& iid, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportException(className, iid);
  }
}

// Fails the call with `result` when it is a failure.
// A Boolean as automation passes it (True is -1).
inline VARIANT_BOOL VariantBool(bool value) noexcept {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

inline void Check(HRESULT result) {
  if (FAILED(result)) {
    throw ComFailure(result);
  }
}

template <class T>
T* Required(T* pointer) {
  if (pointer == nullptr) {
    throw ComFailure(E_POINTER);
  }
  return pointer;
}

}  // namespace qlxw::com
