#include "com/runtime/safe_arrays.h"

#include <new>

#include "com/runtime/boundary.h"
#include "errors/lib_error.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

template <class T>
void Store(SAFEARRAY* array, LONG index, const T& value) {
  HRESULT result = S_OK;
  if constexpr (std::is_same_v<T, std::string>) {
    platform::Bstr text(value);
    result = SafeArrayPutElement(array, &index, text.get());  // copies the text
  } else if constexpr (std::is_same_v<T, bool>) {
    VARIANT_BOOL flag = VariantBool(value);
    result = SafeArrayPutElement(array, &index, &flag);
  } else {
    T copy = value;
    result = SafeArrayPutElement(array, &index, &copy);
  }
  if (FAILED(result)) {
    throw std::bad_alloc();
  }
}

template <class T>
T Load(SAFEARRAY* array, LONG index) {
  if constexpr (std::is_same_v<T, std::string>) {
    BSTR text = nullptr;
    SafeArrayGetElement(array, &index, &text);
    std::string value = platform::Utf8FromBstr(text);
    SysFreeString(text);
    return value;
  } else if constexpr (std::is_same_v<T, bool>) {
    VARIANT_BOOL flag = VARIANT_FALSE;
    SafeArrayGetElement(array, &index, &flag);
    return flag != VARIANT_FALSE;
  } else {
    T value{};
    SafeArrayGetElement(array, &index, &value);
    return value;
  }
}

}  // namespace

template <class T>
SAFEARRAY* ToSafeArray(const std::vector<T>& values) {
  SAFEARRAY* array = SafeArrayCreateVector(ElementType<T>::kType, 0, static_cast<ULONG>(values.size()));
  if (array == nullptr) {
    throw std::bad_alloc();
  }
  try {
    for (std::size_t i = 0; i < values.size(); ++i) {
      Store<T>(array, static_cast<LONG>(i), values[i]);
    }
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

template <class T>
std::vector<T> FromSafeArray(SAFEARRAY* array) {
  std::vector<T> values;
  if (array == nullptr) {
    return values;
  }
  VARTYPE type = VT_EMPTY;
  if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetVartype(array, &type)) ||
      type != ElementType<T>::kType) {
    RaiseAutomationError(kErrTypeMismatch);
  }
  LONG lower = 0;
  LONG upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  for (LONG index = lower; index <= upper; ++index) {
    values.push_back(Load<T>(array, index));
  }
  return values;
}

template SAFEARRAY* ToSafeArray(const std::vector<std::uint8_t>&);
template SAFEARRAY* ToSafeArray(const std::vector<std::int16_t>&);
template SAFEARRAY* ToSafeArray(const std::vector<std::int32_t>&);
template SAFEARRAY* ToSafeArray(const std::vector<double>&);
template SAFEARRAY* ToSafeArray(const std::vector<bool>&);
template SAFEARRAY* ToSafeArray(const std::vector<std::string>&);
template std::vector<std::uint8_t> FromSafeArray(SAFEARRAY*);
template std::vector<std::int16_t> FromSafeArray(SAFEARRAY*);
template std::vector<std::int32_t> FromSafeArray(SAFEARRAY*);
template std::vector<double> FromSafeArray(SAFEARRAY*);
template std::vector<bool> FromSafeArray(SAFEARRAY*);
template std::vector<std::string> FromSafeArray(SAFEARRAY*);

}  // namespace qlxw::com
