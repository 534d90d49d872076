#pragma once
// One-dimensional safe arrays of the six settings types to and from vectors.
#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qlxw::com {

template <class T>
struct ElementType;
template <>
struct ElementType<std::uint8_t> {
  static constexpr VARTYPE kType = VT_UI1;
};
template <>
struct ElementType<std::int16_t> {
  static constexpr VARTYPE kType = VT_I2;
};
template <>
struct ElementType<std::int32_t> {
  static constexpr VARTYPE kType = VT_I4;
};
template <>
struct ElementType<double> {
  static constexpr VARTYPE kType = VT_R8;
};
template <>
struct ElementType<bool> {
  static constexpr VARTYPE kType = VT_BOOL;
};
template <>
struct ElementType<std::string> {
  static constexpr VARTYPE kType = VT_BSTR;
};

// A new array the caller owns; an empty vector gives an array with no elements (not a null array).
template <class T>
SAFEARRAY* ToSafeArray(const std::vector<T>& values);

// The elements of a one-dimensional array of the matching type; a null array gives none; any other
// array is a type mismatch.
template <class T>
std::vector<T> FromSafeArray(SAFEARRAY* array);

}  // namespace qlxw::com
