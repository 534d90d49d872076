// HelpControl as a COM class: every object of a thread shares the dictionary and what Init stores.
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/wide_text.h"
#include "ui/help_control.h"

namespace qlxw::com {
namespace {

class HelpControlObject final : public ComObject<HelpControlObject, DispatchImpl<_HelpControl>> {
 public:
  static constexpr std::string_view kClassName = "HelpControl";
  static const CLSID& ClassId() { return CLSID_HelpControl; }

  HRESULT STDMETHODCALLTYPE GetPDFViewerExeName(BSTR sampleFile, BSTR* result) override {
    return Call([&] {
      *Required(result) =
          platform::BstrFromUtf8(help_.GetPDFViewerExeName(platform::Utf8FromBstr(sampleFile)));
    });
  }
  HRESULT STDMETHODCALLTYPE AcrobatLookup(BSTR* key, VARIANT_BOOL* result) override {
    return Call([&] {
      *Required(result) = VariantBool(help_.AcrobatLookup(platform::Utf8FromBstr(*Required(key))));
    });
  }
  HRESULT STDMETHODCALLTYPE AcrobatLookupByFile(BSTR* pdfFullName, BSTR* key, VARIANT_BOOL* result) override {
    return Call([&] {
      *Required(result) = help_.AcrobatLookupByFile(platform::Utf8FromBstr(*Required(pdfFullName)),
                                                    platform::Utf8FromBstr(*Required(key)))
                              ? VARIANT_TRUE
                              : VARIANT_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE Init(BSTR* dictionaryFile, BSTR* pdfFile, IDispatch* label) override {
    return Call([&] {
      help_.Init(platform::Utf8FromBstr(*Required(dictionaryFile)),
                 platform::Utf8FromBstr(*Required(pdfFile)), platform::HostObject(label));
    });
  }

 private:
  qlxw::HelpControl help_;
};

}  // namespace

HRESULT CreateHelpControl(const GUID& iid, void** out) {
  return Boundary(HelpControlObject::kClassName, iid,
                  [&] { Check(HelpControlObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
