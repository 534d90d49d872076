#pragma once
// FolderManager: the table of the host's sixteen data folders, each kept as a path definition that
// may begin with another folder's variable ("<System>Font25"), so that moving one folder moves every
// folder defined below it. Absolute paths are worked out afresh on every request.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "collections/keyed_list.h"
#include "config/ini_manager_interface.h"
#include "folders/folder_ids.h"
#include "folders/keys.h"
#include "language/language_subscription.h"

namespace qlxw {

class FolderManager {
 public:
  // Holds the default table; reads nothing from the INI file until LoadFromINI.
  FolderManager();

  std::int32_t Count() const noexcept { return table_.Count(); }

  // Stores a new definition: the path made relative to the longest other folder it lies below, unless
  // `forceAbsolute`. An empty path stores the folder's bare localized name. Fails with 5 for a number
  // outside 1..16, and with any error of the other folders' paths when made relative.
  void SetPath(std::int32_t index, const std::string& absolutePath, bool forceAbsolute = false);

  // The folder's definition expanded: 5 for a number outside 1..16 or a variable naming no folder,
  // 0x80040003 for an unconfigured folder (string 71) or a ring (string 73).
  std::string AbsolutePath(std::int32_t index) const;

  // Back to the default definition (the platform's folders asked again); returns the new path.
  std::string SetDefault(std::int32_t index);

  // The folders kept in the INI file's "Folders" section, in the order they are written.
  static std::array<EnumFoldersPaths, 3> GetSerializables() noexcept;

  // A definition longer than LongestSavedDefinition is not written (LastProfileWriteError says so).
  void SaveToINI();
  void LoadFromINI();
  // The longest definition, in characters of the INI file's 8-bit text, that LoadFromINI reads back
  // whole through this thread's INI manager.
  std::size_t LongestSavedDefinition() const;

  // The definition stored for a folder, variables included.
  std::string StoredValue(std::int32_t index) const;
  // "<" + the folder's key name + ">", "" for 0; 5 for a number outside 0..16.
  std::string VariableOf(std::int32_t index) const;
  // The longest folder (other than `excluded`) whose path `path` equals or lies below, with its path;
  // none (0) and "" when there is none.
  std::pair<std::int32_t, std::string> FindBaseFolder(const std::string& path, std::int32_t excluded) const;
  // `path` through the variable of its base folder, or unchanged without one.
  std::string MakeRelative(const std::string& path, std::int32_t excluded) const;
  // A definition expanded into an absolute path.
  std::string Expand(const std::string& definition) const;

  const Keys& KeysObject() const noexcept { return *keys_; }

 private:
  using Table = KeyedList<std::string>;

  void AddEntry(Table& table, std::int32_t base, std::int32_t id, const std::string& sub) const;
  Table BuildDefaults() const;
  // `active`: the variables whose definitions the callers are expanding, to stop rings through a
  // remainder.
  std::string Expand(std::string text, std::vector<std::string>& active) const;
  INIManagerInterface& Ini() const;

  LanguageSubscription language_;
  std::shared_ptr<Keys> keys_;
  Table table_;
  mutable std::shared_ptr<INIManagerInterface> ini_;  // reached on first need
};

}  // namespace qlxw
