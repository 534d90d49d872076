// FolderManager as a COM class: the folders a host persists in its INI file.
#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/safe_arrays.h"
#include "folders/folder_manager.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class FolderManagerObject final : public ComObject<FolderManagerObject, DispatchImpl<_FolderManager>> {
 public:
  static constexpr std::string_view kClassName = "FolderManager";
  static const CLSID& ClassId() { return CLSID_FolderManager; }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* result) override {
    return Call([&] { *Required(result) = manager_.Count(); });
  }
  HRESULT STDMETHODCALLTYPE SetPath(::EnumFoldersPaths index, BSTR path, VARIANT_BOOL forceAbsolute,
                                    VARIANT* result) override {
    return Call([&] {
      VariantInit(Required(result));
      manager_.SetPath(index, platform::Utf8FromBstr(path), forceAbsolute != VARIANT_FALSE);
    });
  }
  HRESULT STDMETHODCALLTYPE get_AbsolutePath(::EnumFoldersPaths index, BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(manager_.AbsolutePath(index)); });
  }
  HRESULT STDMETHODCALLTYPE SetDefault(::EnumFoldersPaths index, BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(manager_.SetDefault(index)); });
  }
  HRESULT STDMETHODCALLTYPE GetSerializables(SAFEARRAY** result) override {
    return Call([&] {
      const auto folders = qlxw::FolderManager::GetSerializables();
      *Required(result) = ToSafeArray(std::vector<std::int32_t>(folders.begin(), folders.end()));
    });
  }
  HRESULT STDMETHODCALLTYPE SaveToINI() override {
    return Call([&] { manager_.SaveToINI(); });
  }
  HRESULT STDMETHODCALLTYPE LoadFromINI() override {
    return Call([&] { manager_.LoadFromINI(); });
  }

 private:
  qlxw::FolderManager manager_;
};

}  // namespace

HRESULT CreateFolderManager(const GUID& iid, void** out) {
  return Boundary(FolderManagerObject::kClassName, iid,
                  [&] { Check(FolderManagerObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
