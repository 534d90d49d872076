#pragma once
// Text at the COM boundary: UTF-16 BSTRs outside, UTF-8 inside.
#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

#include "config/ini_manager_interface.h"

namespace qlxw::com {

std::wstring Wide(std::string_view utf8);

// A null BSTR reads as "".
std::string FromBstr(BSTR text);
// A null BSTR (a host's null string) stays null: the profile layer deletes with it.
NullableText FromBstrNullable(BSTR text);
// A new BSTR the caller owns.
BSTR ToBstr(std::string_view utf8);

// Owns one BSTR.
class Bstr {
 public:
  explicit Bstr(std::string_view utf8) : text_(ToBstr(utf8)) {}
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const noexcept { return text_; }
  BSTR* address() noexcept { return &text_; }

 private:
  BSTR text_;
};

}  // namespace qlxw::com
