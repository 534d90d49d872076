#include "folders/folder_ids.h"

#include <array>

namespace qlxw {

std::string_view FolderIdentifierName(std::int32_t id) noexcept {
  static constexpr std::array<std::string_view, kLastFolder + 1> kNames = {
      "egsPath_NONE",       "egsPath_Template",        "egsPath_SaveFolder",
      "egsPath_UserFolder", "egsPath_QlxWSystem",      "egsPath_Font25",
      "egsPath_Tablazatok", "egsPath_Aranykorona",     "egsPath_Teruletszamitas",
      "egsPath_Formatum",   "egsPath_Alap_Allomanyok", "egsPath_Temp",
      "egsPath_QD",         "egsPath_Nyomtatvany",     "egsPath_Help",
      "egsPath_Program",    "egsPath_WorkSpace"};
  return id < 0 || id > kLastFolder ? std::string_view() : kNames[static_cast<std::size_t>(id)];
}

}  // namespace qlxw
