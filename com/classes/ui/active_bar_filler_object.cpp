// ActiveBarFiller as a COM class: the host's application, form and control come in as they are and are
// reached by late binding; the fonts and theme are the thread's shared LocalInfo's.
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/shared_local_info.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/wide_text.h"
#include "ui/active_bar_filler.h"

namespace qlxw::com {
namespace {

class ActiveBarFillerObject final : public ComObject<ActiveBarFillerObject, DispatchImpl<_ActiveBarFiller>> {
 public:
  static constexpr std::string_view kClassName = "ActiveBarFiller";
  static const CLSID& ClassId() { return CLSID_ActiveBarFiller; }

  HRESULT STDMETHODCALLTYPE FillActiveBar(IDispatch* application, IDispatch* form, IDispatch* activeBar,
                                          BSTR menuPatternName, BSTR* result) override {
    return Call([&] {
      *Required(result) = platform::BstrFromUtf8(
          filler_.FillActiveBar(platform::HostObject(application), platform::HostObject(form),
                                platform::HostObject(activeBar), platform::Utf8FromBstr(menuPatternName)));
    });
  }
  HRESULT STDMETHODCALLTYPE FillActiveBarExplicit(BSTR className, IDispatch* application, IDispatch* form,
                                                  IDispatch* activeBar, BSTR menuPatternName,
                                                  BSTR* result) override {
    return Call([&] {
      *Required(result) = platform::BstrFromUtf8(filler_.FillActiveBarExplicit(
          platform::Utf8FromBstr(className), platform::HostObject(application), platform::HostObject(form),
          platform::HostObject(activeBar), platform::Utf8FromBstr(menuPatternName)));
    });
  }

 private:
  qlxw::ActiveBarFiller filler_{&GetLocalInfo};
};

}  // namespace

HRESULT CreateActiveBarFiller(const GUID& iid, void** out) {
  return Boundary(ActiveBarFillerObject::kClassName, iid,
                  [&] { Check(ActiveBarFillerObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
