// Writes the reference of a type library for host developers, as Markdown, from the library itself:
// every class, interface, member, dispatch id, argument and event. Usage: com_reference
// [--require-help] FILE (a .tlb, or a DLL with the library embedded). Run under Wine by the test
// script, which compares the result with docs/com-reference.md. With --require-help it fails when a
// class, interface, enum, record or member has no description, naming each one.
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "errors/lib_error.h"

namespace {

std::string Utf8(const wchar_t* wide) {
  if (wide == nullptr || *wide == 0) {
    return {};
  }
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
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
std::string Cell(std::string text) {
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

void WriteMembers(ITypeInfo* info, const TYPEATTR& attributes, const std::string& owner,
                  Undocumented& undocumented) {
  std::printf("| dispid | member | kind | arguments | returns | description |\n|---|---|---|---|---|---|\n");
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
    undocumented.Check(owner + "." + Utf8(names[0]) + " (" + KindText(function->invkind) + ")",
                       documentation);
    std::printf("| %ld | %s | %s | %s | %s | %s |\n", static_cast<long>(function->memid),
                Utf8(names[0]).c_str(), KindText(function->invkind).c_str(), Cell(arguments).c_str(),
                Cell(returns).c_str(), Cell(documentation.help).c_str());
    for (UINT n = 0; n < count; ++n) {
      SysFreeString(names[n]);
    }
    info->ReleaseFuncDesc(function);
  }
}

// The interface whose members a client calls: a dual interface's own part, without IDispatch's.
void WriteInterface(ITypeInfo* info, Undocumented& undocumented) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) {
    return;
  }
  const Documentation documentation = DocumentationOf(info, MEMBERID_NIL);
  undocumented.Check(documentation.name, documentation);
  const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
  std::printf(
      "### %s\n\n%s%s, IID `%s`\n\n", documentation.name.c_str(),
      documentation.help.empty() ? "" : (documentation.help + ". ").c_str(),
      attributes->typekind == TKIND_DISPATCH && !dual ? "Event interface (dispinterface)" : "Dual interface",
      GuidText(attributes->guid).c_str());
  Released<ITypeInfo> vtable;
  HREFTYPE own = 0;
  if (dual && attributes->typekind == TKIND_DISPATCH &&
      SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &own)) &&
      SUCCEEDED(info->GetRefTypeInfo(own, vtable.Out()))) {
    TYPEATTR* vtableAttributes = nullptr;
    if (SUCCEEDED(vtable->GetTypeAttr(&vtableAttributes))) {
      WriteMembers(vtable.Get(), *vtableAttributes, documentation.name, undocumented);
      vtable->ReleaseTypeAttr(vtableAttributes);
    }
  } else {
    WriteMembers(info, *attributes, documentation.name, undocumented);
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
// and as VB's classic number, its text, and when the library raises it.
void WriteErrors() {
  struct Raised {
    std::int32_t number;
    const char* when;
  };
  const Raised errors[] = {
      {qlxw::kLibErrInvalidArgument,
       "an argument refused: an INI file name that is empty or holds a NUL; anchors replaced while the "
       "ones held are not released"},
      {qlxw::kLibErrRepeatedOrBadData,
       "a value INIManager5 cannot read back whole (1024 characters or more); no program opens PDF files"},
      {qlxw::kLibErrNotInitialized,
       "no main version set; a second INI file name; a folder whose definition is not configured or "
       "cannot be resolved; the shell's failure to name a PDF viewer; a DDE exchange that failed"},
      {qlxw::kErrInvalidProcedureCall, "a folder number outside 1-16; a collection key that is not there"},
      {qlxw::kErrOverflow, "a hot-key table walked past 32767 entries"},
      {qlxw::kErrSubscriptOutOfRange, "a position outside a collection or the hot-key table"},
      {qlxw::kErrTypeMismatch, "an object that is not the form or label control a member needs"},
      {qlxw::kErrFileNotFound, "a program to start that is not there (the PDF viewer)"},
      {qlxw::kErrDeviceIo, "a write the disk or the registry did not take"},
      {qlxw::kErrDiskFull, "no space for the trace log or the folder settings"},
      {qlxw::kErrPermissionDenied, "no permission: the trace log, a folder to create, the folder settings"},
      {qlxw::kErrPathFileAccess, "a file that is a folder, a pipe or a device"},
      {qlxw::kErrPathNotFound, "a missing folder on the way to a file, or a drive that is not there"},
      {qlxw::kErrNoSuchMember, "a host object without a member the library calls (a form's Name)"},
      {qlxw::kErrWrongArgumentCount, "a late-bound call with too few or too many arguments"},
      {qlxw::kErrDuplicateKey, "a key given twice in a collection"},
      {qlxw::kErrApplicationDefined,
       "an empty font name (LocalInfo); HotKeys.DefaultKeys; the number a host's resource component raised"},
  };
  std::printf(
      "## Errors\n\nThe library's own numbers name their cause in their description, in the "
      "current language; the classic automation numbers have their standard text. Failed folder "
      "creations add \" [folder:PATH] \" to the description, with the source modCommon or "
      "clsFSCOld.\n\n| HRESULT | number | text | raised when |\n|---|---|---|---|\n");
  for (const Raised& error : errors) {
    const bool own = (static_cast<std::uint32_t>(error.number) & 0xFFFF0000U) != 0;
    std::printf("| `0x%08X` | %s | %s | %s |\n", qlxw::HResultOf(error.number),
                own ? "" : std::to_string(error.number).c_str(),
                own ? "the cause, in the current language"
                    : std::string(qlxw::StandardErrorText(error.number)).c_str(),
                error.when);
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool requireHelp = argc == 3 && std::wstring_view(argv[1]) == L"--require-help";
  if (argc != 2 && !requireHelp) {
    std::fprintf(stderr, "usage: com_reference [--require-help] FILE\n");
    return 2;
  }
  const wchar_t* file = argv[argc - 1];
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
      "`Optional ... = default`, `()` for an array). The errors members raise are listed at the end.\n\n"
      "## Classes\n\n"
      "| class | CLSID | interfaces | events | notes | description |\n|---|---|---|---|---|---|\n",
      name.Text().c_str(), help.Text().c_str(), GuidText(attributes->guid).c_str(), attributes->wMajorVerNum,
      attributes->wMinorVerNum);
  library->ReleaseTLibAttr(attributes);
  Undocumented undocumented;
  ForEachOfKind(library.Get(), TKIND_COCLASS,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteClass(info, type, undocumented); });
  std::printf("\n## Interfaces\n\n");
  ForEachOfKind(library.Get(), TKIND_DISPATCH,
                [&](ITypeInfo* info, const TYPEATTR&) { WriteInterface(info, undocumented); });
  ForEachOfKind(library.Get(), TKIND_INTERFACE,
                [&](ITypeInfo* info, const TYPEATTR&) { WriteInterface(info, undocumented); });
  std::printf("## Enumerations\n\n");
  ForEachOfKind(library.Get(), TKIND_ENUM,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteEnum(info, type, undocumented); });
  std::printf("## Records\n\n");
  ForEachOfKind(library.Get(), TKIND_RECORD,
                [&](ITypeInfo* info, const TYPEATTR& type) { WriteRecord(info, type, undocumented); });
  WriteErrors();
  if (requireHelp && !undocumented.Names().empty()) {
    std::fprintf(stderr, "com_reference: %zu without a description (helpstring):\n",
                 undocumented.Names().size());
    for (const std::string& what : undocumented.Names()) {
      std::fprintf(stderr, "  %s\n", what.c_str());
    }
    return 1;
  }
  return 0;
}
