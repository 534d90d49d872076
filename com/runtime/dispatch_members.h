#pragma once
// The members of one interface as late-bound callers name and call them, read once from its type
// information: a name finds its dispatch id through a hash rather than a comparison with every member's
// name, and a call finds what its left-out optional arguments stand for.
#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "os/windows/owned_variant.h"

namespace qlxw::com {

// Names in any letter case, as automation compares them.
struct NameNoCaseHash {
  std::size_t operator()(std::wstring_view name) const noexcept;
};
struct NameNoCaseEquals {
  bool operator()(std::wstring_view a, std::wstring_view b) const noexcept;
};

// An optional scalar parameter (text, number, Boolean, by value or by reference) and the value that
// stands for it when a caller leaves it out: its default, else the zero value of its type.
struct OptionalScalar {
  std::size_t position = 0;
  platform::OwnedVariant value;
};

// What a late-bound call of one member must adjust in the arguments it is given.
struct CallShape {
  std::vector<OptionalScalar> optionalScalars;
  // By parameter position: a scalar declared by reference. The type library's Invoke writes such a
  // parameter back over an argument given by value, freeing the caller's text.
  std::vector<bool> scalarByReference;
};

class DispatchMembers {
 public:
  // Empty (every name unknown) without type information.
  explicit DispatchMembers(ITypeInfo* info);

  ITypeInfo* Info() const noexcept { return info_; }
  std::optional<DISPID> IdOf(std::wstring_view name) const;
  bool Has(DISPID id) const { return ids_.contains(id); }

  // GetIDsOfNames of the type information, the member's name by the hash. Other names (named
  // arguments, members of the interfaces it derives from) are left to the type information.
  HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

  // The shape of the member a call with these flags reaches (scripts call with both method and
  // property-get flags when they use a result: a method, else a property get); none for an unknown
  // member or one whose calls need no adjusting.
  const CallShape* ShapeOf(DISPID id, WORD flags) const;

  DispatchMembers(const DispatchMembers&) = delete;
  DispatchMembers& operator=(const DispatchMembers&) = delete;

 private:
  void DescribeCall(const FUNCDESC& function);

  ITypeInfo* info_;
  std::vector<std::wstring> names_;  // what the map's keys view; not resized once the map is made
  std::unordered_map<std::wstring_view, DISPID, NameNoCaseHash, NameNoCaseEquals> byName_;
  std::unordered_set<DISPID> ids_;
  // By member and kind of call, built with the rest: a type library does not change while the module
  // is loaded, so calls read it without a lock.
  std::unordered_map<std::uint64_t, CallShape> shapes_;
};

}  // namespace qlxw::com
