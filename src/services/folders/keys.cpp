#include "folders/keys.h"

#include <array>
#include <string_view>

#include "language/localized_strings.h"

namespace qlxw {
namespace {

struct KeyRow {
  EnumFoldersPaths id;
  std::string_view key;
  std::int32_t stringId;  // 0: no localized name
  std::string_view hungarian;
};

// The order of enumeration.
constexpr std::array<KeyRow, 17> kKeyRows = {{
    {egsPath_Alap_Allomanyok, "BaseFiles", 19, "Alap_allomanyok"},
    {egsPath_Aranykorona, "GoldenCrown", 70, "Aranykorona"},
    {egsPath_Font25, "Font25", 20, "Font25"},
    {egsPath_Formatum, "Format", 69, "Formatum"},
    {egsPath_Help, "Help", 52, "Help"},
    {egsPath_QlxWSystem, "System", 68, "Rendszer"},
    {egsPath_Nyomtatvany, "BroadSheets", 21, "Nyomtatvany"},
    {egsPath_Program, "Program", 67, "Program"},
    {egsPath_QD, "QD", 58, "QD"},
    {egsPath_SaveFolder, "SaveFolder", 17, "Mentések"},
    {egsPath_Tablazatok, "Tables", 53, "Tablazatok"},
    {egsPath_Temp, "Temp", 57, "Temp"},
    {egsPath_Template, "Templates", 18, "Sablonok"},
    {egsPath_Teruletszamitas, "AreaCalculation", 66, "Teruletszamitas"},
    {egsPath_UserFolder, "UserFolder", 65, "UserFolder"},
    {egsPath_WorkSpace, "WorkSpace", 64, "QLX_Munka"},
    {egsPath_NONE, "None", 0, ""},
}};

std::string LookupKey(std::int32_t id) {
  std::string key(1, '_');
  key += std::to_string(id);
  return key;
}

}  // namespace

Keys::Keys() {
  EnsureStringTables();
  language_.AdoptRuntimeLanguage();
  for (const KeyRow& row : kKeyRows) {
    std::string value = row.stringId == 0 ? std::string() : GetLocalizedString(row.stringId, row.hungarian);
    if (row.id == egsPath_SaveFolder) {
      value.insert(0, "QLX_");  // the workspace's own string already carries the prefix
    }
    records_.Add(std::make_shared<KeyValue>(KeyValue::Passkey{}, std::string(row.key), std::move(value)),
                 LookupKey(row.id));
  }
}

const std::shared_ptr<KeyValue>& Keys::Item(std::int32_t index) const {
  return records_.Item(LookupKey(index));
}

}  // namespace qlxw
