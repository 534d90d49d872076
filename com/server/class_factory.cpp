// The class objects COM asks the module for, and whether the module may be unloaded.
#include <windows.h>

#include <unknwn.h>

#include <new>

#include "com/classes/class_table.h"
#include "com/runtime/module.h"
#include "com/runtime/unknown_impl.h"

namespace qlxw::com {
namespace {

class ClassFactory final : public UnknownImpl<ClassFactory, IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) noexcept : create_(create) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    return create_(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  CreateFunction create_;
};

}  // namespace
}  // namespace qlxw::com

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  for (const auto& creatable : qlxw::com::CreatableClasses()) {
    if (IsEqualCLSID(classId, *creatable.classId)) {
      auto* factory = new (std::nothrow) qlxw::com::ClassFactory(creatable.create);
      if (factory == nullptr) {
        return E_OUTOFMEMORY;
      }
      return qlxw::com::ClassFactory::HandOut(factory, iid, out);
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return qlxw::com::ModuleInUse() ? S_FALSE : S_OK;
}
