#pragma once
// A VARIANT this code owns: cleared when it goes, moved but never copied (a copy would free its text or
// object twice).
#include <windows.h>

#include <oleauto.h>

namespace qlxw::platform {

class OwnedVariant {
 public:
  OwnedVariant() noexcept { VariantInit(&value_); }
  ~OwnedVariant() { VariantClear(&value_); }
  OwnedVariant(OwnedVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  OwnedVariant& operator=(OwnedVariant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;

  VARIANT* get() noexcept { return &value_; }
  // mingw declares the sources of VariantCopy and VariantCopyInd non-const; they only read them.
  VARIANT* source() const noexcept {
    return const_cast<VARIANT*>(&value_);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  }

 private:
  VARIANT value_{};
};

}  // namespace qlxw::platform
