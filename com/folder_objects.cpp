// The folder classes as COM classes: Keys (enumerable with For Each) and its KeyValue records,
// FolderManager, the application object clsFileSystemController, and FSCReplacer, which hosts reach
// through _clsFileSystemController.
#include <windows.h>

#include <oaidl.h>

#include <atomic>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "QlxWCommon_h.h"
#include "api/file_system_controller.h"
#include "com/boundary.h"
#include "com/classes.h"
#include "com/com_object.h"
#include "com/core_backed.h"
#include "com/module.h"
#include "com/object_registry.h"
#include "com/safe_arrays.h"
#include "folders/folder_manager.h"
#include "folders/fsc_replacer.h"
#include "folders/keys.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class KeyValueObject final
    : public ComObject<KeyValueObject, DispatchImpl<_KeyValue>, CoreBacked<KeyValueObject, qlxw::KeyValue>> {
 public:
  static constexpr std::string_view kClassName = "KeyValue";
  static const CLSID& ClassId() { return CLSID_KeyValue; }

  explicit KeyValueObject(std::shared_ptr<qlxw::KeyValue> record) { StandFor(std::move(record)); }

  HRESULT STDMETHODCALLTYPE get_Value(VARIANT* result) override {
    return Call([&] {
      VariantInit(Required(result));
      result->vt = VT_BSTR;
      result->bstrVal = platform::BstrFromUtf8(Backed().Value());
    });
  }
  HRESULT STDMETHODCALLTYPE get_Key(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Backed().Key()); });
  }
};

// The records of one Keys object in their order, for For Each.
class KeyValueEnumerator final : public UnknownImpl<KeyValueEnumerator, IEnumVARIANT> {
 public:
  using Records = std::vector<std::shared_ptr<qlxw::KeyValue>>;

  static Records RecordsOf(const qlxw::Keys& keys) {
    Records records;
    for (const auto& record : keys) {
      records.push_back(record);
    }
    return records;
  }

  KeyValueEnumerator(std::shared_ptr<const Records> records, std::size_t position) noexcept
      : records_(std::move(records)), position_(position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
    if (items == nullptr || (wanted > 1 && fetched == nullptr)) {
      return E_POINTER;
    }
    ULONG given = 0;
    while (given < wanted && position_ < records_->size()) {
      VARIANT& item = items[given];
      VariantInit(&item);
      IDispatch* record = nullptr;
      const HRESULT made =
          ObjectFor<KeyValueObject>((*records_)[position_], IID_IDispatch, reinterpret_cast<void**>(&record));
      if (FAILED(made)) {
        // Nothing handed out after all: the caller owns no item of a failed call.
        for (ULONG i = 0; i < given; ++i) {
          VariantClear(&items[i]);
        }
        if (fetched != nullptr) {
          *fetched = 0;
        }
        return made;
      }
      item.vt = VT_DISPATCH;
      item.pdispVal = record;
      ++given;
      ++position_;
    }
    if (fetched != nullptr) {
      *fetched = given;
    }
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    // Never past the end, and no sum that could wrap where size_t is as narrow as ULONG.
    position_ += std::min<std::size_t>(records_->size() - position_, count);
    return position_ < records_->size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    auto* clone = new (std::nothrow) KeyValueEnumerator(records_, position_);
    if (clone == nullptr) {
      return E_OUTOFMEMORY;
    }
    return HandOut(clone, IID_IEnumVARIANT, reinterpret_cast<void**>(out));
  }

 private:
  std::shared_ptr<const Records> records_;
  std::size_t position_;
};

class KeysObject final : public ComObject<KeysObject, DispatchImpl<_Keys>> {
 public:
  static constexpr std::string_view kClassName = "Keys";
  static const CLSID& ClassId() { return CLSID_Keys; }

  HRESULT STDMETHODCALLTYPE get_Item(::EnumFoldersPaths index, _KeyValue** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectFor<KeyValueObject>(keys_->Item(index), __uuidof(_KeyValue),
                                      reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* result) override {
    return Call([&] { *Required(result) = keys_->Count(); });
  }
  HRESULT STDMETHODCALLTYPE get_NewEnum(IUnknown** result) override {
    return Call([&] {
      IUnknown** out = Required(result);
      auto records =
          std::make_shared<const KeyValueEnumerator::Records>(KeyValueEnumerator::RecordsOf(*keys_));
      Check(KeyValueEnumerator::HandOut(new KeyValueEnumerator(std::move(records), 0), IID_IUnknown,
                                        reinterpret_cast<void**>(out)));
    });
  }

 private:
  std::shared_ptr<qlxw::Keys> keys_ = std::make_shared<qlxw::Keys>();
};

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

class FileSystemControllerObject final
    : public ComObject<FileSystemControllerObject, ControllerDispatch<FileSystemControllerObject>> {
 public:
  static constexpr std::string_view kClassName = "clsFileSystemController";
  static const CLSID& ClassId() { return CLSID_clsFileSystemController; }

  FileSystemControllerInterface& Controller() { return controller_; }

 private:
  qlxw::clsFileSystemController controller_;
};

class FSCReplacerObject final
    : public ComObject<FSCReplacerObject, DispatchWithSecond<_FSCReplacer, _clsFileSystemController>,
                       ControllerDispatch<FSCReplacerObject>> {
 public:
  static constexpr std::string_view kClassName = "FSCReplacer";
  static const CLSID& ClassId() { return CLSID_FSCReplacer; }

  FileSystemControllerInterface& Controller() { return replacer_; }

 private:
  qlxw::FSCReplacer replacer_;
};

}  // namespace

HRESULT CreateKeys(const GUID& iid, void** out) {
  return Boundary(KeysObject::kClassName, iid, [&] { Check(KeysObject::CreateInstance(iid, out)); });
}

HRESULT CreateFolderManager(const GUID& iid, void** out) {
  return Boundary(FolderManagerObject::kClassName, iid,
                  [&] { Check(FolderManagerObject::CreateInstance(iid, out)); });
}

HRESULT CreateFileSystemController(const GUID& iid, void** out) {
  return Boundary(FileSystemControllerObject::kClassName, iid,
                  [&] { Check(FileSystemControllerObject::CreateInstance(iid, out)); });
}

HRESULT CreateFSCReplacer(const GUID& iid, void** out) {
  return Boundary(FSCReplacerObject::kClassName, iid,
                  [&] { Check(FSCReplacerObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
