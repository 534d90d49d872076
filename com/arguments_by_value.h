#pragma once
// Script hosts pass their variables by reference, as variants, which the type library will not turn
// into a by-reference text or number. The library only reads its by-reference arguments, so the
// values are passed on instead.
#include <windows.h>

#include <oaidl.h>

#include <vector>

namespace qlxw::com {

class ArgumentsByValue {
 public:
  explicit ArgumentsByValue(DISPPARAMS* params);
  ~ArgumentsByValue();
  ArgumentsByValue(const ArgumentsByValue&) = delete;
  ArgumentsByValue& operator=(const ArgumentsByValue&) = delete;
  DISPPARAMS* Params() noexcept { return params_; }

 private:
  DISPPARAMS* params_;
  DISPPARAMS copy_{};
  std::vector<VARIANT> values_;
  std::vector<bool> owned_;  // copies made here, cleared here
};

}  // namespace qlxw::com
