// UILanguage: how a host changes the library's user-interface language on its thread.
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class UILanguageObject final : public ComObject<UILanguageObject, DispatchImpl<_UILanguage>> {
 public:
  static constexpr std::string_view kClassName = "UILanguage";
  static const CLSID& ClassId() { return CLSID_UILanguage; }

  UILanguageObject() { EnsureStringTables(); }

  HRESULT STDMETHODCALLTYPE ChangeUILanguage(LONG languageId) override {
    return Call([&] { qlxw::ChangeUILanguage(languageId); });
  }
  HRESULT STDMETHODCALLTYPE get_LanguageID(LONG* result) override {
    return Call([&] { *Required(result) = ThisThreadLanguageRuntime()->LanguageID(); });
  }
  HRESULT STDMETHODCALLTYPE get_Language(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(ThisThreadLanguageRuntime()->Language()); });
  }
};

}  // namespace

HRESULT CreateUILanguage(const GUID& iid, void** out) {
  return Boundary(UILanguageObject::kClassName, iid,
                  [&] { Check(UILanguageObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
