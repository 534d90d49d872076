#pragma once
// The folders the system names for the library: the shell's special folders and the folder that
// holds the library's own file.
#include <cstdint>
#include <string>

namespace qlxw::platform {

// The shell's numbers for the two special folders the library uses.
inline constexpr std::int32_t kCsidlPersonal = 5;        // the user's documents
inline constexpr std::int32_t kCsidlCommonAppData = 35;  // application data of every user

// The path of the special folder with that number; "" for a number the platform does not serve.
// Elsewhere than Windows: documents are $QLXW_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR of
// $XDG_CONFIG_HOME/user-dirs.dirs (read only when it is a small regular file), else ~/Documents; common
// application data is $QLXW_COMMON_APPDATA, else /var/lib/qlxw when it exists or can be made and the user can
// write there, else $XDG_DATA_HOME/qlxw (~/.local/share/qlxw).
std::string SpecialFolderPath(std::int32_t csidl);

// The folder of the library's own file (the shared library or the DLL), absolute.
std::string LibraryFolder();

}  // namespace qlxw::platform
