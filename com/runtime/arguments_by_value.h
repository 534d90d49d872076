#pragma once
// The arguments of a late-bound call as the type library's Invoke gets them from us.
// - Script hosts pass their variables by reference, as variants, which the type library will not turn
//   into a by-reference text or number. The library only reads its by-reference arguments, so the
//   values are passed on instead.
// - A value given for a parameter declared by reference is passed as a copy: the type library's
//   Invoke writes the parameter back over the argument, which would free the caller's text.
// - An optional argument the caller left out is filled in here with its default (the zero value of
//   its type when it has none): Wine's Invoke passes a by-reference default's value where the pointer
//   goes, and a left-out by-reference text as a pointer to a variant.
#include <windows.h>

#include <oaidl.h>

#include <vector>

#include "com/runtime/dispatch_members.h"

namespace qlxw::com {

class ArgumentsByValue {
 public:
  // `members`, `id` and `flags` name the member called; without them no default is filled in. A call
  // that needs neither (most calls) leaves the caller's arguments as they are, copying nothing.
  explicit ArgumentsByValue(DISPPARAMS* params, const DispatchMembers* members = nullptr, DISPID id = 0,
                            WORD flags = 0);
  ~ArgumentsByValue();
  ArgumentsByValue(const ArgumentsByValue&) = delete;
  ArgumentsByValue& operator=(const ArgumentsByValue&) = delete;
  DISPPARAMS* Params() noexcept { return params_; }

 private:
  void FillInDefaults(const std::vector<OptionalScalar>& optional);

  DISPPARAMS* params_;
  DISPPARAMS copy_{};
  std::vector<VARIANT> values_;
  std::vector<bool> owned_;  // copies made here, cleared here
};

}  // namespace qlxw::com
