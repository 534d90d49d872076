#pragma once
// Where COM registration goes: the machine's classes (HKEY_CLASSES_ROOT, administrators) or the
// user's own (HKEY_CURRENT_USER\Software\Classes, which COM reads first for that user).
#include <windows.h>

#include <string>
#include <utility>

namespace qlxw::com {

// A GUID as the registry writes it: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::wstring GuidText(const GUID& guid);

class ClassesRoot {
 public:
  static ClassesRoot Machine();
  static ClassesRoot User();

  // Writes one value (the key's default when `name` is null), creating the key.
  bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) const;
  void DeleteTree(const std::wstring& key) const;
  // Whether `key` exists and holds keys of its own.
  bool HasSubkeys(const std::wstring& key) const;
  // Whether `key` exists in the registry view of the other bitness (since Windows 7 classes are kept
  // apart per bitness, ProgIDs and type libraries are shared by both).
  bool InOtherView(const std::wstring& key) const;

 private:
  ClassesRoot(HKEY base, std::wstring prefix) : base_(base), prefix_(std::move(prefix)) {}

  HKEY base_;
  std::wstring prefix_;
};

}  // namespace qlxw::com
