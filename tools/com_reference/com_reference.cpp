// Writes the reference of a type library for host developers, as Markdown, from the library itself:
// every class, interface, member, dispatch id, argument, event and the errors each member raises.
// Usage: com_reference [--require-help] [--require-raises] [--examples DIR] FILE (a .tlb, or a DLL with
// the library embedded). Run under Wine by the test script, which compares the result with
// docs/com-reference.md. With --require-help it fails when a class, interface, enum, record or member
// has no description, or (with --examples) a creatable class has no example DIR/<class>.vbs; with
// --require-raises when a member of an interface has no "raises" entry, from itself or its interface.
// An entry naming an error the error table cannot describe always fails.
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/lib_error.h"
#include "os/components.h"
#include "os/type_library.h"
#include "os/windows/wide_text.h"

namespace {

std::string Utf8(const wchar_t* wide) {
  return wide == nullptr ? std::string() : qlxw::platform::CodePageFromWide(wide, CP_UTF8);
}

// Holds what the type library hands out and gives it back at the end of the scope.
class Bstr {
 public:
  Bstr() = default;
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }
  BSTR* Out() { return &value_; }
  std::string Text() const { return Utf8(value_); }

 private:
  BSTR value_ = nullptr;
};

template <typename T>
class Released {
 public:
  Released() = default;
  Released(const Released&) = delete;
  Released& operator=(const Released&) = delete;
  ~Released() {
    if (value_ != nullptr) {
      value_->Release();
    }
  }
  T** Out() { return &value_; }
  T* operator->() const { return value_; }
  T* Get() const { return value_; }

 private:
  T* value_ = nullptr;
};

struct Documentation {
  std::string name;
  std::string help;
};

Documentation DocumentationOf(ITypeInfo* info, MEMBERID member) {
  Bstr name;
  Bstr help;
  info->GetDocumentation(member, name.Out(), help.Out(), nullptr, nullptr);
  return {name.Text(), help.Text()};
}

// What has no description, so that a host developer would see only its name.
class Undocumented {
 public:
  void Check(const std::string& what, const Documentation& documentation) {
    if (documentation.help.empty()) {
      names_.push_back(what);
    }
  }
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

std::string GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return Utf8(text);
}

std::string TypeText(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_PTR:
      return TypeText(info, *type.lptdesc) + "*";
    case VT_SAFEARRAY:
      return TypeText(info, *type.lptdesc) + "()";
    case VT_USERDEFINED: {
      Released<ITypeInfo> referenced;
      if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Out()))) {
        return "?";
      }
      return DocumentationOf(referenced.Get(), MEMBERID_NIL).name;
    }
    case VT_BSTR:
      return "String";
    case VT_BOOL:
      return "Boolean";
    case VT_I1:
      return "Char";
    case VT_UI1:
      return "Byte";
    case VT_I2:
      return "Integer";
    case VT_I4:
    case VT_INT:
      return "Long";
    case VT_UI4:
    case VT_UINT:
      return "ULong";
    case VT_I8:
      return "LongLong";
    case VT_R4:
      return "Single";
    case VT_R8:
      return "Double";
    case VT_CY:
      return "Currency";
    case VT_DATE:
      return "Date";
    case VT_VARIANT:
      return "Variant";
    case VT_DISPATCH:
      return "Object";
    case VT_UNKNOWN:
      return "IUnknown";
    case VT_HRESULT:
      return "HRESULT";
    case VT_VOID:
      return "";
    default:
      return "VT " + std::to_string(type.vt);
  }
}

std::string DefaultText(VARIANT value) {
  VARIANT text;
  VariantInit(&text);
  std::string result;
  if (SUCCEEDED(
          VariantChangeTypeEx(&text, &value, MAKELCID(0x0409, SORT_DEFAULT), VARIANT_ALPHABOOL, VT_BSTR))) {
    result = Utf8(text.bstrVal);
    if (value.vt == VT_BSTR) {
      result = "\"" + result + "\"";
    }
  }
  VariantClear(&text);
  return result;
}

// Whether a type is an object (an interface, or a class's default interface).
bool IsObject(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt == VT_DISPATCH || type.vt == VT_UNKNOWN) {
    return true;
  }
  Released<ITypeInfo> referenced;
  TYPEATTR* attributes = nullptr;
  if (type.vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Out())) ||
      FAILED(referenced->GetTypeAttr(&attributes))) {
    return false;
  }
  const bool object = attributes->typekind == TKIND_INTERFACE || attributes->typekind == TKIND_DISPATCH ||
                      attributes->typekind == TKIND_COCLASS;
  referenced->ReleaseTypeAttr(attributes);
  return object;
}

// A parameter as a VB developer declares it: "ByRef Section As String", "ByVal Form As Object",
// "ByRef Values() As Double". A pointer to a value passes it by reference; an object pointer is the
// object itself, passed by value.
std::string VbParameter(ITypeInfo* info, const ELEMDESC& parameter, const std::string& name) {
  const TYPEDESC& type = parameter.tdesc;
  const bool pointer = type.vt == VT_PTR && type.lptdesc != nullptr;
  const TYPEDESC& pointee = pointer ? *type.lptdesc : type;
  if (pointer && IsObject(info, pointee)) {
    return "ByVal " + name + " As " + TypeText(info, pointee);
  }
  std::string shown = TypeText(info, pointee);
  std::string brackets;
  if (shown.size() > 2 && shown.ends_with("()")) {
    shown.resize(shown.size() - 2);
    brackets = "()";
  }
  if (!shown.empty() && shown.back() == '*') {
    shown.pop_back();  // an object passed by reference: the variable that holds it
  }
  return std::string(pointer ? "ByRef " : "ByVal ") + name + brackets + " As " + shown;
}

std::string KindText(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_PROPERTYGET:
      return "get";
    case INVOKE_PROPERTYPUT:
      return "let";
    case INVOKE_PROPERTYPUTREF:
      return "set";
    default:
      return "method";
  }
}

// A Markdown table cell: no bars or line breaks inside.
std::string Cell(const std::string& text) {
  std::string cell;
  for (const char c : text) {
    if (c == '|') {
      cell += "\\|";
    } else if (c == '\n' || c == '\r') {
      cell += ' ';
    } else {
      cell += c;
    }
  }
  return cell;
}

// What members raise, from the custom attribute the IDL gives beside each helpstring: items
// "NUMBER[, NUMBER...]: when" (the numbers as the error table writes them, 57 or 0x80040003) or a cause
// without a number of its own, separated by ";", or "nothing". An interface's entry holds what each of
// its members raises.
const GUID kRaisesAttribute = {0x94e21615, 0xf5c9, 0x4613, {0x8d, 0xbb, 0xe0, 0x43, 0xf7, 0xc9, 0xa2, 0x00}};

// The text of an error the table can describe, or none.
std::optional<std::string> ErrorText(std::int32_t number) {
  switch (number) {
    case qlxw::kLibErrInvalidArgument:
    case qlxw::kLibErrRepeatedOrBadData:
    case qlxw::kLibErrNotInitialized:
      return "the cause, in the current language";
    case qlxw::kErrInvalidProcedureCall:
    case qlxw::kErrOverflow:
    case qlxw::kErrSubscriptOutOfRange:
    case qlxw::kErrTypeMismatch:
    case qlxw::kErrFileNotFound:
    case qlxw::kErrDeviceIo:
    case qlxw::kErrFileAlreadyExists:
    case qlxw::kErrDiskFull:
    case qlxw::kErrPermissionDenied:
    case qlxw::kErrPathFileAccess:
    case qlxw::kErrPathNotFound:
    case qlxw::kErrObjectNotSet:
    case qlxw::kErrNoSuchMember:
    case qlxw::kErrWrongArgumentCount:
    case qlxw::kErrDuplicateKey:
    case qlxw::kErrApplicationDefined:
      return std::string(qlxw::StandardErrorText(number));
    case qlxw::platform::kErrCannotCreateComponent:
      return "ActiveX component can't create object";
    case qlxw::platform::kErrCannotLoadTypeLibrary:
      return "Error loading type library/DLL";
    default:
      return std::nullopt;
  }
}

bool IsOwnNumber(std::int32_t number) {
  return (static_cast<std::uint32_t>(number) & 0xFFFF0000U) == 0x80040000U;
}

bool IsClassicNumber(std::int32_t number) {
  return (static_cast<std::uint32_t>(number) & 0xFFFF0000U) == 0;
}

// A number as entries and the error table write it: 57, 0x80040003.
std::string NumberText(std::int32_t number) {
  if (IsClassicNumber(number)) {
    return std::to_string(number);
  }
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
  return text;
}

std::optional<std::int32_t> ParseNumber(std::string_view text) {
  if (text.size() == 10 && text.starts_with("0x") &&
      text.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string_view::npos) {
    return static_cast<std::int32_t>(std::stoul(std::string(text.substr(2)), nullptr, 16));
  }
  if (!text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string_view::npos) {
    return std::stoi(std::string(text));
  }
  return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

struct RaisedItem {
  std::vector<std::int32_t> numbers;  // none for a cause without a number of its own
  std::string when;
};

struct Raises {
  bool given = false;
  std::vector<RaisedItem> items;  // none when given: "nothing"
};

// Each number leading an item, or none when the text before the colon is not a list of numbers.
std::vector<std::int32_t> LeadingNumbers(std::string_view item, std::size_t colon) {
  std::vector<std::int32_t> numbers;
  if (colon == std::string_view::npos) {
    return numbers;
  }
  std::string_view list = item.substr(0, colon);
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::optional<std::int32_t> number = ParseNumber(Trimmed(list.substr(0, comma)));
    if (!number) {
      return {};
    }
    numbers.push_back(*number);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return numbers;
}

// What the type library's entries say, and what is wrong with them.
class RaisesCheck {
 public:
  Raises Parse(const std::optional<std::string>& entry, const std::string& what) {
    Raises raises;
    if (!entry) {
      return raises;
    }
    raises.given = true;
    std::string_view rest = *entry;
    bool nothing = false;
    while (true) {
      const std::size_t semicolon = rest.find(';');
      const std::string_view item = Trimmed(rest.substr(0, semicolon));
      if (item == "nothing") {
        nothing = true;
      } else if (item.empty()) {
        faults_.push_back(what + ": an empty item in \"" + *entry + "\"");
      } else {
        const std::size_t colon = item.find(':');
        RaisedItem raised{LeadingNumbers(item, colon), std::string(item)};
        if (!raised.numbers.empty()) {
          raised.when = std::string(Trimmed(item.substr(colon + 1)));
        } else if (item.front() >= '0' && item.front() <= '9') {
          faults_.push_back(what + ": \"" + std::string(item) + "\" is not \"NUMBER[, NUMBER...]: when\"");
        }
        for (const std::int32_t number : raised.numbers) {
          if (!ErrorText(number)) {
            faults_.push_back(what + ": error " + NumberText(number) +
                              " is not one the error table describes");
          }
        }
        raises.items.push_back(std::move(raised));
      }
      if (semicolon == std::string_view::npos) {
        break;
      }
      rest = rest.substr(semicolon + 1);
    }
    if (nothing && !raises.items.empty()) {
      faults_.push_back(what + ": \"nothing\" beside errors in \"" + *entry + "\"");
    }
    return raises;
  }
  // A member whose interface has an entry may have none of its own.
  void Require(const std::string& what, const Raises& own, const Raises& common) {
    if (!own.given && !common.given) {
      missing_.push_back(what);
    } else if (own.given && own.items.empty() && !common.items.empty()) {
      faults_.push_back(what + ": \"nothing\" while its interface lists errors");
    }
  }
  // Every "when" of each number, in the order the reference first meets them, without a closing
  // parenthesis: that says which class raises it, or on which condition, and belongs to the member.
  void Note(const Raises& raises) {
    for (const RaisedItem& item : raises.items) {
      std::string when = item.when;
      if (const std::size_t open = when.rfind(" ("); open != std::string::npos && when.ends_with(")")) {
        when.resize(open);
      }
      for (const std::int32_t number : item.numbers) {
        std::vector<std::string>& whens = whens_[number];
        if (std::find(whens.begin(), whens.end(), when) == whens.end()) {
          whens.push_back(when);
        }
      }
    }
  }
  const std::vector<std::string>& Missing() const { return missing_; }
  const std::vector<std::string>& Faults() const { return faults_; }
  const std::map<std::int32_t, std::vector<std::string>>& Whens() const { return whens_; }

 private:
  std::vector<std::string> missing_;
  std::vector<std::string> faults_;
  std::map<std::int32_t, std::vector<std::string>> whens_;
};

// The entry of a type (index nullopt) or of its function at index, if it has one.
std::optional<std::string> RaisesEntry(ITypeInfo* info, std::optional<UINT> index) {
  Released<ITypeInfo2> extended;
  if (FAILED(info->QueryInterface(IID_ITypeInfo2, reinterpret_cast<void**>(extended.Out())))) {
    return std::nullopt;
  }
  VARIANT value;
  VariantInit(&value);
  const HRESULT read = index ? extended->GetFuncCustData(*index, kRaisesAttribute, &value)
                             : extended->GetCustData(kRaisesAttribute, &value);
  std::optional<std::string> entry;
  if (SUCCEEDED(read) && value.vt == VT_BSTR) {
    entry = Utf8(value.bstrVal);
  }
  VariantClear(&value);
  return entry;
}

// An entry as a table cell, each number linked to its row in the error table.
std::string RaisesText(const Raises& raises) {
  if (raises.items.empty()) {
    return raises.given ? "nothing" : "only what each member raises";
  }
  std::string text;
  for (const RaisedItem& item : raises.items) {
    text += text.empty() ? "" : "; ";
    for (std::size_t n = 0; n < item.numbers.size(); ++n) {
      const std::string number = NumberText(item.numbers[n]);
      text += (n == 0 ? "" : ", ") + ("[" + number + "](#error-" + number + ")");
    }
    text += (item.numbers.empty() ? "" : ": ") + item.when;
  }
  return text;
}

// The members of an interface; `common` is what each member of a client's interface raises, none
// for an event interface, whose members the host implements.
void WriteMembers(ITypeInfo* info, const TYPEATTR& attributes, const std::string& owner,
                  Undocumented& undocumented, const Raises* common, RaisesCheck& raisesCheck) {
  std::printf(common != nullptr ? "| dispid | member | kind | arguments | returns | description | raises |\n"
                                  "|---|---|---|---|---|---|---|\n"
                                : "| dispid | member | kind | arguments | returns | description |\n"
                                  "|---|---|---|---|---|---|\n");
  for (UINT index = 0; index < attributes.cFuncs; ++index) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(index, &function))) {
      continue;
    }
    BSTR names[64] = {};
    UINT count = 0;
    info->GetNames(function->memid, names, 64, &count);
    std::string arguments;
    std::string returns = TypeText(info, function->elemdescFunc.tdesc);
    for (SHORT p = 0; p < function->cParams; ++p) {
      const ELEMDESC& parameter = function->lprgelemdescParam[p];
      const USHORT flags = parameter.paramdesc.wParamFlags;
      const std::string type = TypeText(info, parameter.tdesc);
      if ((flags & PARAMFLAG_FRETVAL) != 0) {
        returns = type.substr(0, type.size() - 1);  // a pointer to what is returned
        continue;
      }
      std::string name = static_cast<UINT>(p + 1) < count ? Utf8(names[p + 1]) : "value";
      std::string text =
          ((flags & PARAMFLAG_FOPT) != 0 ? "Optional " : "") + VbParameter(info, parameter, name);
      if ((flags & PARAMFLAG_FHASDEFAULT) != 0 && parameter.paramdesc.pparamdescex != nullptr) {
        text += " = " + DefaultText(parameter.paramdesc.pparamdescex->varDefaultValue);
      }
      arguments += (arguments.empty() ? "" : ", ") + text;
    }
    if (returns == "HRESULT") {
      returns.clear();
    }
    if (!returns.empty() && returns.back() == '*') {
      returns.pop_back();  // an object: what a VB host holds is the object itself
    }
    const Documentation documentation = DocumentationOf(info, function->memid);
    const std::string what = owner + "." + Utf8(names[0]) + " (" + KindText(function->invkind) + ")";
    undocumented.Check(what, documentation);
    std::printf("| %ld | %s | %s | %s | %s | %s |", static_cast<long>(function->memid),
                Utf8(names[0]).c_str(), KindText(function->invkind).c_str(), Cell(arguments).c_str(),
                Cell(returns).c_str(), Cell(documentation.help).c_str());
    if (common != nullptr) {
      const Raises own = raisesCheck.Parse(RaisesEntry(info, index), what);
      raisesCheck.Require(what, own, *common);
      raisesCheck.Note(own);
      std::printf(" %s |", Cell(RaisesText(own.given || !common->items.empty() ? own : *common)).c_str());
    }
    std::printf("\n");
    for (UINT n = 0; n < count; ++n) {
      SysFreeString(names[n]);
    }
    info->ReleaseFuncDesc(function);
  }
}

// The interface whose members a client calls: a dual interface's own part, without IDispatch's.
void WriteInterface(ITypeInfo* info, Undocumented& undocumented, RaisesCheck& raisesCheck) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) {
    return;
  }
  const Documentation documentation = DocumentationOf(info, MEMBERID_NIL);
  undocumented.Check(documentation.name, documentation);
  const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
  const bool events = attributes->typekind == TKIND_DISPATCH && !dual;
  std::printf("### %s\n\n%s%s, IID `%s`\n\n", documentation.name.c_str(),
              documentation.help.empty() ? "" : (documentation.help + ". ").c_str(),
              events ? "Event interface (dispinterface)" : "Dual interface",
              GuidText(attributes->guid).c_str());
  Released<ITypeInfo> vtable;
  HREFTYPE own = 0;
  const bool split = dual && attributes->typekind == TKIND_DISPATCH &&
                     SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &own)) &&
                     SUCCEEDED(info->GetRefTypeInfo(own, vtable.Out()));
  ITypeInfo* members = split ? vtable.Get() : info;
  std::optional<std::string> entry = RaisesEntry(info, std::nullopt);
  if (!entry && split) {
    entry = RaisesEntry(members, std::nullopt);
  }
  const Raises common = raisesCheck.Parse(entry, documentation.name);
  raisesCheck.Note(common);
  if (!common.items.empty()) {
    std::printf("Each member raises, besides what its row names: %s.\n\n", RaisesText(common).c_str());
  }
  TYPEATTR* memberAttributes = nullptr;
  if (SUCCEEDED(members->GetTypeAttr(&memberAttributes))) {
    WriteMembers(members, *memberAttributes, documentation.name, undocumented, events ? nullptr : &common,
                 raisesCheck);
    members->ReleaseTypeAttr(memberAttributes);
  }
  std::printf("\n");
  info->ReleaseTypeAttr(attributes);
}

void WriteClass(ITypeInfo* info, const TYPEATTR& attributes, Undocumented& undocumented) {
  const Documentation documentation = DocumentationOf(info, MEMBERID_NIL);
  undocumented.Check(documentation.name, documentation);
  std::string flags;
  const auto flag = [&](WORD bit, const char* name) {
    if ((attributes.wTypeFlags & bit) != 0) {
      flags += (flags.empty() ? "" : ", ") + std::string(name);
    }
  };
  flag(TYPEFLAG_FAPPOBJECT, "application object");
  flag(TYPEFLAG_FPREDECLID, "predeclared");
  if ((attributes.wTypeFlags & TYPEFLAG_FCANCREATE) == 0) {
    flags += (flags.empty() ? "" : ", ") + std::string("not creatable");
  }
  std::string interfaces;
  std::string events;
  for (UINT index = 0; index < attributes.cImplTypes; ++index) {
    HREFTYPE reference = 0;
    INT implementation = 0;
    Released<ITypeInfo> implemented;
    if (FAILED(info->GetRefTypeOfImplType(index, &reference)) ||
        FAILED(info->GetRefTypeInfo(reference, implemented.Out())) ||
        FAILED(info->GetImplTypeFlags(index, &implementation))) {
      continue;
    }
    std::string name = DocumentationOf(implemented.Get(), MEMBERID_NIL).name;
    if ((implementation & IMPLTYPEFLAG_FDEFAULT) != 0) {
      name += " (default)";
    }
    std::string& list = (implementation & IMPLTYPEFLAG_FSOURCE) != 0 ? events : interfaces;
    list += (list.empty() ? "" : ", ") + name;
  }
  std::printf("| %s | `%s` | %s | %s | %s | %s |\n", documentation.name.c_str(),
              GuidText(attributes.guid).c_str(), Cell(interfaces).c_str(), Cell(events).c_str(),
              flags.c_str(), Cell(documentation.help).c_str());
}

// A heading with the type's description under it, if it has one.
void WriteTypeHeading(const Documentation& documentation) {
  std::printf("### %s\n\n", documentation.name.c_str());
  if (!documentation.help.empty()) {
    std::printf("%s.\n\n", documentation.help.c_str());
  }
}

void WriteEnum(ITypeInfo* info, const TYPEATTR& attributes, Undocumented& undocumented) {
  const Documentation documentation = DocumentationOf(info, MEMBERID_NIL);
  undocumented.Check(documentation.name, documentation);
  WriteTypeHeading(documentation);
  std::printf("| name | value |\n|---|---|\n");
  for (UINT index = 0; index < attributes.cVars; ++index) {
    VARDESC* variable = nullptr;
    if (FAILED(info->GetVarDesc(index, &variable))) {
      continue;
    }
    std::printf("| %s | %s |\n", DocumentationOf(info, variable->memid).name.c_str(),
                variable->varkind == VAR_CONST ? DefaultText(*variable->lpvarValue).c_str() : "");
    info->ReleaseVarDesc(variable);
  }
  std::printf("\n");
}

void WriteRecord(ITypeInfo* info, const TYPEATTR& attributes, Undocumented& undocumented) {
  const Documentation documentation = DocumentationOf(info, MEMBERID_NIL);
  undocumented.Check(documentation.name, documentation);
  WriteTypeHeading(documentation);
  std::printf("| field | type |\n|---|---|\n");
  for (UINT index = 0; index < attributes.cVars; ++index) {
    VARDESC* variable = nullptr;
    if (FAILED(info->GetVarDesc(index, &variable))) {
      continue;
    }
    std::printf("| %s | %s |\n", DocumentationOf(info, variable->memid).name.c_str(),
                TypeText(info, variable->elemdescVar.tdesc).c_str());
    info->ReleaseVarDesc(variable);
  }
  std::printf("\n");
}

// The errors hosts receive: each number as an HRESULT (what Err.Number shows in VBScript and C++ sees)
// and as VB's classic number, its text, and when the library raises it, gathered from the members'
// entries: the library's own numbers first, then the classic ones, then other HRESULTs.
void WriteErrors(const RaisesCheck& raisesCheck) {
  std::vector<std::pair<std::int32_t, std::string>> rows;
  for (const auto& [number, whens] : raisesCheck.Whens()) {
    std::string when;
    for (const std::string& one : whens) {
      when += (when.empty() ? "" : "; ") + one;
    }
    rows.emplace_back(number, when);
  }
  const auto group = [](std::int32_t number) {
    return IsOwnNumber(number) ? 0 : IsClassicNumber(number) ? 1 : 2;
  };
  std::sort(rows.begin(), rows.end(), [&](const auto& left, const auto& right) {
    return std::pair(group(left.first), static_cast<std::uint32_t>(left.first)) <
           std::pair(group(right.first), static_cast<std::uint32_t>(right.first));
  });
  std::printf(
      "## Errors\n\nThe library's own numbers name their cause in their description, in the "
      "current language; the others have their standard text. Failed folder "
      "creations add \" [folder:PATH] \" to the description, with the source modCommon or "
      "clsFSCOld. The members raising each error name it in their \"raises\" column.\n\n"
      "| HRESULT | number | text | raised when |\n|---|---|---|---|\n");
  for (const auto& [number, when] : rows) {
    const std::string name = NumberText(number);
    std::printf("| <a id=\"error-%s\"></a>`0x%08X` | %s | %s | %s |\n", name.c_str(), qlxw::HResultOf(number),
                IsClassicNumber(number) ? name.c_str() : "", ErrorText(number).value_or("").c_str(),
                Cell(when).c_str());
  }
  std::printf("\n");
}

// The library's type infos of one kind, in the library's order.
template <typename Write>
void ForEachOfKind(ITypeLib* library, TYPEKIND kind, Write write) {
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    TYPEKIND found{};
    Released<ITypeInfo> info;
    if (FAILED(library->GetTypeInfoType(index, &found)) || found != kind ||
        FAILED(library->GetTypeInfo(index, info.Out()))) {
      continue;
    }
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
      write(info.Get(), *attributes);
      info->ReleaseTypeAttr(attributes);
    }
  }
}

// The example DIR/<class>.vbs, without carriage returns, or none when there is no such file.
std::optional<std::string> ExampleOf(const std::wstring& folder, const std::string& className) {
  std::ifstream file(
      std::filesystem::path(folder) / (qlxw::platform::WideFromCodePage(className, CP_UTF8) + L".vbs"),
      std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::erase(text, '\r');
  while (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  return text;
}

// Each class's example, in a section of the class's own; the creatable classes without one.
void WriteExamples(ITypeLib* library, const std::wstring& folder, std::vector<std::string>& withoutExample) {
  ForEachOfKind(library, TKIND_COCLASS, [&](ITypeInfo* info, const TYPEATTR& attributes) {
    const std::string name = DocumentationOf(info, MEMBERID_NIL).name;
    const std::optional<std::string> example = ExampleOf(folder, name);
    if (example) {
      std::printf("### %s\n\n```vb\n%s\n```\n\n", name.c_str(), example->c_str());
    } else if ((attributes.wTypeFlags & TYPEFLAG_FCANCREATE) != 0) {
      withoutExample.push_back(name);
    }
  });
}

// Names what fails a requirement, on the error stream; true when something does.
bool Report(const std::vector<std::string>& names, const char* what) {
  if (names.empty()) {
    return false;
  }
  std::fprintf(stderr, "com_reference: %zu %s:\n", names.size(), what);
  for (const std::string& name : names) {
    std::fprintf(stderr, "  %s\n", name.c_str());
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool requireHelp = false;
  bool requireRaises = false;
  std::optional<std::wstring> examples;
  const wchar_t* file = nullptr;
  for (int index = 1; index < argc; ++index) {
    const std::wstring_view argument(argv[index]);
    if (argument == L"--require-help") {
      requireHelp = true;
    } else if (argument == L"--require-raises") {
      requireRaises = true;
    } else if (argument == L"--examples" && index + 1 < argc) {
      examples = argv[++index];
    } else if (file == nullptr && !argument.starts_with(L"--")) {
      file = argv[index];
    } else {
      file = nullptr;
      break;
    }
  }
  if (file == nullptr) {
    std::fprintf(stderr, "usage: com_reference [--require-help] [--require-raises] [--examples DIR] FILE\n");
    return 2;
  }
  Released<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(file, REGKIND_NONE, library.Out()))) {
    std::fprintf(stderr, "com_reference: no type library in %s\n", Utf8(file).c_str());
    return 1;
  }
  Bstr name;
  Bstr help;
  library->GetDocumentation(-1, name.Out(), help.Out(), nullptr, nullptr);
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  std::printf(
      "# %s: COM reference\n\n"
      "%s. Type library `%s`, version %u.%u.\n\n"
      "Made from the type library by `scripts/update-com-reference.sh`; the test script checks that it "
      "matches. Arguments are written as a VB or VBScript developer declares them (`ByRef`, `ByVal`, "
      "`Optional ... = default`, `()` for an array). Each member's row names the errors it raises, "
      "linked to the table of errors at the end; not listed are the failures of the call itself (a "
      "missing out-pointer, no memory, arguments a late-bound call cannot convert).\n\n"
      "## Classes\n\n"
      "| class | CLSID | interfaces | events | notes | description |\n|---|---|---|---|---|---|\n",
      name.Text().c_str(), help.Text().c_str(), GuidText(attributes->guid).c_str(), attributes->wMajorVerNum,
      attributes->wMinorVerNum);
  library->ReleaseTLibAttr(attributes);
  Undocumented undocumented;
  ForEachOfKind(library.Get(), TKIND_COCLASS,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteClass(info, type, undocumented); });
  std::printf("\n");
  std::vector<std::string> withoutExample;
  if (examples) {
    WriteExamples(library.Get(), *examples, withoutExample);
  }
  std::printf("## Interfaces\n\n");
  RaisesCheck raisesCheck;
  ForEachOfKind(library.Get(), TKIND_DISPATCH,
                [&](ITypeInfo* info, const TYPEATTR&) { WriteInterface(info, undocumented, raisesCheck); });
  ForEachOfKind(library.Get(), TKIND_INTERFACE,
                [&](ITypeInfo* info, const TYPEATTR&) { WriteInterface(info, undocumented, raisesCheck); });
  std::printf("## Enumerations\n\n");
  ForEachOfKind(library.Get(), TKIND_ENUM,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteEnum(info, type, undocumented); });
  std::printf("## Records\n\n");
  ForEachOfKind(library.Get(), TKIND_RECORD,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteRecord(info, type, undocumented); });
  WriteErrors(raisesCheck);
  bool failed = Report(raisesCheck.Faults(), "faults in \"raises\" entries");
  if (requireHelp) {
    failed = Report(undocumented.Names(), "without a description (helpstring)") || failed;
    failed = Report(withoutExample, "creatable classes without an example") || failed;
  }
  if (requireRaises) {
    failed = Report(raisesCheck.Missing(),
                    "members without a \"raises\" entry, of their own or their interface's") ||
             failed;
  }
  return failed ? 1 : 0;
}
