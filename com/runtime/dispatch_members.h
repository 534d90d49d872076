#pragma once
// The members of one interface as late-bound callers name and call them, read from its type information
// as calls ask for them: a name asked before finds its dispatch id through a hash rather than a comparison
// with every member's name, and a call finds what its left-out optional arguments stand for. Nothing is
// read up front, so that a host's first call does not pay for the members it never uses.
#include <windows.h>

#include <oaidl.h>

#include <array>
#include <cstdint>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "os/windows/owned_variant.h"

namespace qlxw::com {

// Names in any letter case, as automation compares them.
struct NameNoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::wstring_view name) const noexcept;
};
struct NameNoCaseEquals {
  using is_transparent = void;
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
  // The interface has a member of this id, of any kind.
  bool Has(DISPID id) const;

  // GetIDsOfNames of the type information, a name asked before by the hash.
  HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

  // The shape of the member a call with these flags reaches (scripts call with both method and
  // property-get flags when they use a result: a method, else a property get); none for an unknown
  // member or one whose calls need no adjusting.
  const CallShape* ShapeOf(DISPID id, WORD flags) const;

  DispatchMembers(const DispatchMembers&) = delete;
  DispatchMembers& operator=(const DispatchMembers&) = delete;

 private:
  // One member's kinds of call (method, property get, put, put by reference), as its function
  // descriptions state them: a shape for each kind whose calls need adjusting.
  struct Member {
    bool exists = false;
    std::array<std::optional<CallShape>, 4> kinds;
  };
  const Member& MemberOf(DISPID id) const;
  Member Described(DISPID id) const;
  // The function of this id and kind, from the type information given back; none when there is none.
  ITypeInfo* FunctionOf(DISPID id, INVOKEKIND kind, FUNCDESC*& function) const;

  ITypeInfo* info_;
  // The vtable view of a dual interface that derives from IDispatch alone: it holds every member and
  // finds one by id without reading the others. None otherwise: then a member is looked for in turn.
  ITypeInfo2* indexed_ = nullptr;
  // What calls have asked so far. Entries are never removed: a type library does not change while the
  // module is loaded, and the shapes handed out stay where they are.
  mutable std::shared_mutex mutex_;
  mutable std::unordered_map<std::wstring, DISPID, NameNoCaseHash, NameNoCaseEquals> byName_;
  mutable std::unordered_map<DISPID, Member> members_;
};

}  // namespace qlxw::com
