#pragma once
// _clsFileSystemController, served alike by clsFileSystemController and FSCReplacer over their core
// controller.
#include <windows.h>

#include <utility>

#include "QlxWCommon_h.h"
#include "com/runtime/boundary.h"
#include "com/runtime/dispatch_impl.h"
#include "folders/file_system_controller_interface.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {

// _clsFileSystemController over `Derived::Controller()`.
template <class Derived>
class ControllerDispatch : public DispatchImpl<_clsFileSystemController> {
 public:
  HRESULT STDMETHODCALLTYPE get_gsUserName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().gsUserName()); });
  }
  HRESULT STDMETHODCALLTYPE put_gsUserName(BSTR value) override {
    return Call([&] { Controller().gsUserName(platform::Utf8FromBstr(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_lDebugId(LONG* result) override {
    return Call([&] { *Required(result) = Controller().lDebugId(); });
  }
  HRESULT STDMETHODCALLTYPE TearDown() override {
    return Call([&] { Controller().TearDown(); });
  }
  HRESULT STDMETHODCALLTYPE SetDefaultForIx(::EnumFoldersPaths* lIx) override {
    return Call([&] { Controller().SetDefaultForIx(*Required(lIx)); });
  }
  HRESULT STDMETHODCALLTYPE SetDefaults() override {
    return Call([&] { Controller().SetDefaults(); });
  }
  HRESULT STDMETHODCALLTYPE SaveToRegistry() override {
    return Call([&] { Controller().SaveToRegistry(); });
  }
  HRESULT STDMETHODCALLTYPE Refresh() override {
    return Call([&] { Controller().Refresh(); });
  }
  HRESULT STDMETHODCALLTYPE get_QlxWHelpFileName(VARIANT_BOOL* bPopup, VARIANT_BOOL* bShowErr,
                                                 BSTR* result) override {
    return Call([&] {
      // An omitted argument counts as false.
      const bool popup = bPopup != nullptr && *bPopup != VARIANT_FALSE;
      const bool showErr = bShowErr != nullptr && *bShowErr != VARIANT_FALSE;
      *Required(result) = platform::BstrFromUtf8(Controller().QlxWHelpFileName(popup, showErr));
    });
  }
  HRESULT STDMETHODCALLTYPE put_QlxWFolders(::EnumFoldersPaths* lIx, BSTR value) override {
    return Call([&] { Controller().QlxWFolders(*Required(lIx), platform::Utf8FromBstr(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_QlxWFolders(::EnumFoldersPaths* lIx, BSTR* result) override {
    return Call(
        [&] { *Required(result) = platform::BstrFromUtf8(Controller().QlxWFolders(*Required(lIx))); });
  }
  HRESULT STDMETHODCALLTYPE get_gcQLX25FileExt(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().gcQLX25FileExt()); });
  }
  HRESULT STDMETHODCALLTYPE get_gcIBNFileExt(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().gcIBNFileExt()); });
  }
  HRESULT STDMETHODCALLTYPE get_gcAW2FileExt(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().gcAW2FileExt()); });
  }
  HRESULT STDMETHODCALLTYPE get_DefaultWorkspaceRoot(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().DefaultWorkspaceRoot()); });
  }
  HRESULT STDMETHODCALLTYPE get_DefaultUserFolder(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().DefaultUserFolder()); });
  }
  HRESULT STDMETHODCALLTYPE get_SaveFolder(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Controller().SaveFolder()); });
  }

 private:
  FileSystemControllerInterface& Controller() { return static_cast<Derived*>(this)->Controller(); }
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(_clsFileSystemController), std::forward<Body>(body));
  }
};

}  // namespace qlxw::com
