#include "com/server/type_library_keys.h"

#include <oleauto.h>

#include <cstdio>

#include "QlxWCommon_h.h"
#include "com/runtime/module.h"

namespace qlxw::com {
namespace {

// The key of this build's bitness: a 32-bit and a 64-bit server can be registered side by side.
constexpr std::wstring_view kOwnPlatformKey = sizeof(void*) == 8 ? L"win64" : L"win32";
// Automation's own marshallers: through the type library, or IDispatch alone.
constexpr std::wstring_view kTypeLibraryMarshaller = L"{00020424-0000-0000-C000-000000000046}";
constexpr std::wstring_view kDispatchMarshaller = L"{00020420-0000-0000-C000-000000000046}";

std::wstring TypeLibraryKey() {
  return L"TypeLib\\" + GuidText(LIBID_QlxWCommon);
}

// The interfaces callers in other apartments reach through automation's marshallers, each with the
// marshaller it needs; what RegisterTypeLib writes for them.
template <class Visit>
void ForEachMarshalledInterface(ITypeLib* library, Visit visit) {
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfo(index, &info))) {
      continue;
    }
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
      const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
      const bool automation = (attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0;
      BSTR name = nullptr;
      info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      const std::wstring interfaceName = name != nullptr ? name : L"";
      SysFreeString(name);
      if (attributes->typekind == TKIND_DISPATCH) {
        visit(attributes->guid, interfaceName, dual ? kTypeLibraryMarshaller : kDispatchMarshaller);
      } else if (attributes->typekind == TKIND_INTERFACE && (dual || automation)) {
        visit(attributes->guid, interfaceName, kTypeLibraryMarshaller);
      }
      info->ReleaseTypeAttr(attributes);
    }
    info->Release();
  }
}

// What the registry shows of the library: its help string, else its name.
std::wstring LibraryTitle(ITypeLib* library) {
  BSTR name = nullptr;
  BSTR help = nullptr;
  library->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
  std::wstring title = help != nullptr && *help != L'\0' ? help : (name != nullptr ? name : L"");
  SysFreeString(name);
  SysFreeString(help);
  return title;
}

}  // namespace

bool RegisterTypeLibraryForUser(const ClassesRoot& root, ITypeLib* library, const std::wstring& modulePath) {
  const std::wstring versionKey = TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion);
  const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L'\\'));
  TLIBATTR* attributes = nullptr;
  if (FAILED(library->GetLibAttr(&attributes))) {
    return false;
  }
  wchar_t flags[8] = {};
  std::swprintf(flags, 8, L"%X", static_cast<unsigned>(attributes->wLibFlags));
  library->ReleaseTLibAttr(attributes);
  bool written = root.SetValue(versionKey, nullptr, LibraryTitle(library)) &&
                 root.SetValue(versionKey + L"\\FLAGS", nullptr, flags) &&
                 root.SetValue(versionKey + L"\\HELPDIR", nullptr, folder) &&
                 root.SetValue(versionKey + L"\\0\\" + std::wstring(kOwnPlatformKey), nullptr, modulePath);
  ForEachMarshalledInterface(
      library, [&](const GUID& iid, const std::wstring& name, std::wstring_view marshaller) {
        const std::wstring key = L"Interface\\" + GuidText(iid);
        written = written && root.SetValue(key, nullptr, name) &&
                  root.SetValue(key + L"\\ProxyStubClsid", nullptr, std::wstring(marshaller)) &&
                  root.SetValue(key + L"\\ProxyStubClsid32", nullptr, std::wstring(marshaller)) &&
                  root.SetValue(key + L"\\TypeLib", nullptr, GuidText(LIBID_QlxWCommon)) &&
                  root.SetValue(key + L"\\TypeLib", L"Version", std::wstring(kLibraryVersion));
      });
  return written;
}

void UnregisterTypeLibraryForUser(const ClassesRoot& root) {
  const std::wstring localeKey = TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion) + L"\\0";
  root.DeleteTree(localeKey + L"\\" + std::wstring(kOwnPlatformKey));
  if (root.HasSubkeys(localeKey)) {
    return;
  }
  if (ITypeLib* library = TypeLibrary(); library != nullptr) {
    ForEachMarshalledInterface(library, [&](const GUID& iid, const std::wstring&, std::wstring_view) {
      root.DeleteTree(L"Interface\\" + GuidText(iid));
    });
  }
  root.DeleteTree(TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion));
  if (!root.HasSubkeys(TypeLibraryKey())) {
    root.DeleteTree(TypeLibraryKey());
  }
}

}  // namespace qlxw::com
