#pragma once
// _ITheme, served alike by ITheme and DefaultTheme over their core theme.
#include <windows.h>

#include <utility>

#include "QlxWCommon_h.h"
#include "com/runtime/boundary.h"
#include "com/runtime/dispatch_impl.h"
#include "ui/theme.h"

namespace qlxw::com {

// _ITheme over `Derived`'s core theme.
template <class Derived>
class ThemeDispatch : public DispatchImpl<_ITheme> {
 public:
  HRESULT STDMETHODCALLTYPE get_MenuStyleId(LONG* result) override {
    return Call([&] { *Required(result) = Theme().MenuStyleId(); });
  }
  HRESULT STDMETHODCALLTYPE put_MenuStyleId(LONG value) override {
    return Call([&] { Theme().MenuStyleId(value); });
  }
  HRESULT STDMETHODCALLTYPE get_TransparentBands(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Theme().TransparentBands()); });
  }
  HRESULT STDMETHODCALLTYPE put_TransparentBands(VARIANT_BOOL value) override {
    return Call([&] { Theme().TransparentBands(value != VARIANT_FALSE); });
  }

 private:
  qlxw::ITheme& Theme() { return static_cast<Derived*>(this)->Theme(); }
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(_ITheme), std::forward<Body>(body));
  }
};

}  // namespace qlxw::com
