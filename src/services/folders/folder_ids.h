#pragma once
// The host's data folders by number: what every folder operation takes as its folder argument.
#include <cstdint>
#include <string_view>

namespace qlxw {

enum EnumFoldersPaths : std::int32_t {
  egsPath_NONE = 0,
  egsPath_Template = 1,
  egsPath_SaveFolder = 2,
  egsPath_UserFolder = 3,
  egsPath_QlxWSystem = 4,
  egsPath_Font25 = 5,
  egsPath_Tablazatok = 6,
  egsPath_Aranykorona = 7,
  egsPath_Teruletszamitas = 8,
  egsPath_Formatum = 9,
  egsPath_Alap_Allomanyok = 10,
  egsPath_Temp = 11,
  egsPath_QD = 12,
  egsPath_Nyomtatvany = 13,
  egsPath_Help = 14,
  egsPath_Program = 15,
  egsPath_WorkSpace = 16,
  // Range markers, sharing their values with folders: the legacy controller's table runs from eFirst
  // to eLast (the workspace root lies beyond it) and keeps eFirst..eLastReg in the registry.
  eFirst = 1,
  eLastReg = 2,
  eLast = 15,
};

// The highest folder number; the folder manager's table holds 1..kLastFolder.
inline constexpr std::int32_t kLastFolder = egsPath_WorkSpace;

// "egsPath_Template" ... for 0..16; "" for any other number.
std::string_view FolderIdentifierName(std::int32_t id) noexcept;

}  // namespace qlxw
