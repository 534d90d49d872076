#pragma once
// The creatable classes of the server: what the class factories make and regsvr32 registers.

#include <windows.h>

#include <memory>
#include <span>
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/common_facade.h"
#include "collections/collection.h"
#include "config/app_settings.h"
#include "config/ini_manager5.h"
#include "config/ini_manager_interface.h"

namespace qlxw {
class LocalInfo;
}  // namespace qlxw

namespace qlxw::com {

using CreateFunction = HRESULT (*)(const GUID& iid, void** out);

struct CreatableClass {
  const CLSID* classId;
  std::wstring_view name;  // the ProgID is "QlxWCommon." + name
  CreateFunction create;
};

std::span<const CreatableClass> CreatableClasses();

// New objects, one function per class (each in the class's own file).
HRESULT CreateClsCommon(const GUID& iid, void** out);
HRESULT CreateClsDebug(const GUID& iid, void** out);
HRESULT CreateClsCommonTypes(const GUID& iid, void** out);
HRESULT CreateCommonFacade(const GUID& iid, void** out);
HRESULT CreateLibAnchors(const GUID& iid, void** out);
HRESULT CreateINIManager(const GUID& iid, void** out);
HRESULT CreateINIManager5(const GUID& iid, void** out);
HRESULT CreateAppSettings(const GUID& iid, void** out);
HRESULT CreateUILanguage(const GUID& iid, void** out);
// The folder classes (com/folder_objects.cpp).
HRESULT CreateKeys(const GUID& iid, void** out);
HRESULT CreateFolderManager(const GUID& iid, void** out);
HRESULT CreateFileSystemController(const GUID& iid, void** out);
HRESULT CreateFSCReplacer(const GUID& iid, void** out);
// User-interface support: hot keys, locale and theme.
HRESULT CreateHotKeys(const GUID& iid, void** out);
HRESULT CreateLocalInfo(const GUID& iid, void** out);
HRESULT CreateITheme(const GUID& iid, void** out);
HRESULT CreateDefaultTheme(const GUID& iid, void** out);
HRESULT CreateHelpControl(const GUID& iid, void** out);
HRESULT CreateActiveBarFiller(const GUID& iid, void** out);
HRESULT ObjectForLocalInfo(const std::shared_ptr<LocalInfo>& info, const GUID& iid, void** out);

// The COM objects of core objects the library hands out.
HRESULT ObjectForIniManager(const std::shared_ptr<INIManagerInterface>& manager, const GUID& iid, void** out);
HRESULT ObjectForIniManager5(const std::shared_ptr<INIManager5>& manager, const GUID& iid, void** out);
HRESULT ObjectForAppSettings(const std::shared_ptr<IAppSettings>& settings, const GUID& iid, void** out);
HRESULT ObjectForLibAnchors(const std::shared_ptr<ILibAnchors>& anchors, const GUID& iid, void** out);
// What the core holds for an object a host hands in: the core object of one of ours, or an adapter.
std::shared_ptr<IAppSettings> AppSettingsFromHost(_IAppSettings* settings);
std::shared_ptr<ILibAnchors> LibAnchorsFromHost(_ILibAnchors* anchors);

}  // namespace qlxw::com
