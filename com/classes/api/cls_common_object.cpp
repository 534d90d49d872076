// clsCommon as a COM class: the root object hosts create (or use as an application object).
#include <memory>
#include <string>
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/cls_common.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/classes/config/ini_members.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class ClsCommonObject final
    : public ComObject<ClsCommonObject, IniMembers<ClsCommonObject, DispatchImpl<_clsCommon>>> {
  using TextField = std::string qlxw::clsCommon::*;

 public:
  static constexpr std::string_view kClassName = "clsCommon";
  static const CLSID& ClassId() { return CLSID_clsCommon; }

  explicit ClsCommonObject(std::shared_ptr<qlxw::clsCommon> root) : root_(std::move(root)) {}

#define QLXW_TEXT_FIELD(name)                                   \
  HRESULT STDMETHODCALLTYPE get_##name(BSTR* result) override { \
    return Get(&qlxw::clsCommon::name, result);                 \
  }                                                             \
  HRESULT STDMETHODCALLTYPE put_##name(BSTR value) override {   \
    return Put(&qlxw::clsCommon::name, value);                  \
  }
  QLXW_TEXT_FIELD(gsMSG_WriteLog)
  QLXW_TEXT_FIELD(gsMSG_WriteLogFile)
  QLXW_TEXT_FIELD(gsMSG_WriteStatus)
  QLXW_TEXT_FIELD(gsMSG_WriteInfoLine)
  QLXW_TEXT_FIELD(gsMSG_ProgressOn)
  QLXW_TEXT_FIELD(gsMSG_ProgressOff)
  QLXW_TEXT_FIELD(gsMSG_ProgressMin)
  QLXW_TEXT_FIELD(gsMSG_ProgressMax)
  QLXW_TEXT_FIELD(gsMSG_ProgressVal)
  QLXW_TEXT_FIELD(gsMSG_ProgressIncr)
  QLXW_TEXT_FIELD(gsMSG_FromDoc)
  QLXW_TEXT_FIELD(gsMSG_ShowIoMngr)
  QLXW_TEXT_FIELD(gsMSG_DocIsLocked)
  QLXW_TEXT_FIELD(gsMSG_Createviewwindow)
  QLXW_TEXT_FIELD(gs_MatchingTable)
  QLXW_TEXT_FIELD(gsMSG_GotoXY)
  QLXW_TEXT_FIELD(gsMSG_UndoName)
  QLXW_TEXT_FIELD(gsMSG_RedoName)
  QLXW_TEXT_FIELD(gsMSG_ShowInfoTable)
#undef QLXW_TEXT_FIELD
  // These two puts take their text by reference, like the other text puts of the root object.
#define QLXW_TEXT_FIELD_BY_REFERENCE(name)                      \
  HRESULT STDMETHODCALLTYPE get_##name(BSTR* result) override { \
    return Get(&qlxw::clsCommon::name, result);                 \
  }                                                             \
  HRESULT STDMETHODCALLTYPE put_##name(BSTR* value) override {  \
    return PutByReference(&qlxw::clsCommon::name, value);       \
  }
  QLXW_TEXT_FIELD_BY_REFERENCE(gsMSG_AppendInfoLine)
  QLXW_TEXT_FIELD_BY_REFERENCE(gsMSG_ProjectOnClose)
#undef QLXW_TEXT_FIELD_BY_REFERENCE

  HRESULT STDMETHODCALLTYPE get_lMAX_LONG(LONG* result) override {
    return Call([&] { *Required(result) = root_->lMAX_LONG; });
  }
  HRESULT STDMETHODCALLTYPE put_lMAX_LONG(LONG value) override {
    return Call([&] { root_->lMAX_LONG = value; });
  }
  HRESULT STDMETHODCALLTYPE get_lMIN_LONG(LONG* result) override {
    return Call([&] { *Required(result) = root_->lMIN_LONG; });
  }
  HRESULT STDMETHODCALLTYPE put_lMIN_LONG(LONG value) override {
    return Call([&] { root_->lMIN_LONG = value; });
  }
  HRESULT STDMETHODCALLTYPE get_gdPI(double* result) override {
    return Call([&] { *Required(result) = root_->gdPI; });
  }
  HRESULT STDMETHODCALLTYPE put_gdPI(double value) override {
    return Call([&] { root_->gdPI = value; });
  }
  HRESULT STDMETHODCALLTYPE get_lDebugId(LONG* result) override {
    return Call([&] { *Required(result) = root_->lDebugId(); });
  }
  HRESULT STDMETHODCALLTYPE TearDown() override {
    root_->TearDown();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_sAppTitle(BSTR* value) override {
    return Call([&] { root_->sAppTitle(platform::Utf8FromBstr(*Required(value))); });
  }
  HRESULT STDMETHODCALLTYPE get_sAppTitle(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(root_->sAppTitle()); });
  }
  HRESULT STDMETHODCALLTYPE putref_oAppFrameForm(IDispatch* form) override {
    return Call([&] { root_->oAppFrameForm(platform::HostObject(form)); });
  }
  HRESULT STDMETHODCALLTYPE get_oAppFrameForm(IDispatch** result) override {
    return Call([&] {
      *Required(result) = nullptr;
      if (const auto form = std::dynamic_pointer_cast<platform::DispatchObject>(root_->oAppFrameForm())) {
        form->Dispatch()->AddRef();
        *result = form->Dispatch();
      }
    });
  }
  HRESULT STDMETHODCALLTYPE put_sAppComment(BSTR* value) override {
    return Call([&] { root_->sAppComment(platform::Utf8FromBstr(*Required(value))); });
  }
  HRESULT STDMETHODCALLTYPE get_sAppComment(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(root_->sAppComment()); });
  }
  HRESULT STDMETHODCALLTYPE get_LocalInfo(_LocalInfo** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForLocalInfo(root_->LocalInfo(), __uuidof(_LocalInfo), reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_INI(_INIManager** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForIniManager(root_->INI(), __uuidof(_INIManager), reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE put_MainVer(LONG value) override {
    return Call([&] { root_->MainVer(value); });
  }
  HRESULT STDMETHODCALLTYPE get_MainVer(LONG* result) override {
    return Call([&] { *Required(result) = root_->MainVer(); });
  }
  HRESULT STDMETHODCALLTYPE get_AppSettings(_IAppSettings** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForAppSettings(root_->AppSettings(), __uuidof(_IAppSettings),
                                 reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE putref_AppSettings(_IAppSettings* settings) override {
    return Call([&] { root_->AppSettings(AppSettingsFromHost(settings)); });
  }

  // The INI members it shares with the INI managers (IniMembers) work on the root object.
  qlxw::clsCommon& IniObject() {
    return *root_;
  }

 private:
  HRESULT Get(TextField field, BSTR* result) {
    return Call([&] { *Required(result) = platform::BstrFromUtf8((*root_).*field); });
  }
  HRESULT Put(TextField field, BSTR value) {
    return Call([&] { (*root_).*field = platform::Utf8FromBstr(value); });
  }
  HRESULT PutByReference(TextField field, BSTR* value) {
    return Call([&] { (*root_).*field = platform::Utf8FromBstr(*Required(value)); });
  }

  std::shared_ptr<qlxw::clsCommon> root_;
};

}  // namespace

HRESULT CreateClsCommon(const GUID& iid, void** out) {
  return Boundary(ClsCommonObject::kClassName, iid,
                  [&] { Check(ClsCommonObject::CreateInstance(iid, out, qlxw::clsCommon::Create())); });
}

}  // namespace qlxw::com
