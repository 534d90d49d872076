#pragma once
// Where the legacy folder controller keeps its two folders from one run of the host to the next:
// the registry on Windows (HKEY_CURRENT_USER\Software\QlxWCommon\Folders); elsewhere the "Folders"
// section of a small INI file, $QLXW_SETTINGS_FILE, else $XDG_CONFIG_HOME/qlxw/folder-settings.ini
// (~/.config/qlxw/folder-settings.ini), written through the profile layer (whole-file replacement,
// writers waited for). Values are UTF-8 text.
#include <string>

namespace qlxw {

// The path saved under `name`; "" when none was.
std::string LoadFolderSetting(const std::string& name);

// Stores the path under `name`. A store that cannot be written keeps what it had and fails: 5 for a
// path no line can hold, else the file's failure (76, 70, 75, 61, 57); 57 for the registry.
void SaveFolderSetting(const std::string& name, const std::string& path);

// The settings file used where there is no registry.
std::string FolderSettingsFile();

}  // namespace qlxw
