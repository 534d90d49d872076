#pragma once
// The links between classes: how one class's file hands out the COM object of a core object another
// class stands for, or takes such an object from a host. Each function lives in the file of the class
// whose objects it makes or reads.
#include <windows.h>

#include <memory>

#include "QlxWCommon_h.h"

namespace qlxw {
class DefaultTheme;
class IAppSettings;
class ILibAnchors;
class INIManager5;
class INIManagerInterface;
class ITheme;
class LocalInfo;
}  // namespace qlxw

namespace qlxw::com {

// The COM object of a core object the library hands out: the one registered for it, or a new one;
// none for none.
HRESULT ObjectForIniManager(const std::shared_ptr<INIManagerInterface>& manager, const GUID& iid, void** out);
HRESULT ObjectForIniManager5(const std::shared_ptr<INIManager5>& manager, const GUID& iid, void** out);
HRESULT ObjectForAppSettings(const std::shared_ptr<IAppSettings>& settings, const GUID& iid, void** out);
HRESULT ObjectForLibAnchors(const std::shared_ptr<ILibAnchors>& anchors, const GUID& iid, void** out);
HRESULT ObjectForLocalInfo(const std::shared_ptr<LocalInfo>& info, const GUID& iid, void** out);
// An ITheme object, or a DefaultTheme object for the default theme.
HRESULT ObjectForTheme(const std::shared_ptr<ITheme>& theme, const GUID& iid, void** out);
HRESULT ObjectForDefaultTheme(const std::shared_ptr<DefaultTheme>& theme, const GUID& iid, void** out);

// What the core holds for an object a host hands in: the core object of one of ours, or an adapter.
std::shared_ptr<IAppSettings> AppSettingsFromHost(_IAppSettings* settings);
std::shared_ptr<ILibAnchors> LibAnchorsFromHost(_ILibAnchors* anchors);

}  // namespace qlxw::com
