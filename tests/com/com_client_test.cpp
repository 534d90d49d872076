// A host's C++ client of the registered server: early binding through the headers made from the type
// library, events through connection points, error info, and one apartment per thread.
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "QlxWCommon_h.h"

namespace {

// Holds one reference.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() { Reset(); }
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** put() {
    Reset();
    return &pointer_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void Reset() {
    if (pointer_ != nullptr) {
      pointer_->Release();
      pointer_ = nullptr;
    }
  }

 private:
  T* pointer_ = nullptr;
};

class Text {
 public:
  explicit Text(const wchar_t* text) : text_(SysAllocString(text)) {}
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(text_); }
  BSTR get() const { return text_; }
  BSTR* address() { return &text_; }
  BSTR* put() {
    SysFreeString(text_);
    text_ = nullptr;
    return &text_;
  }
  std::wstring str() const {
    return text_ == nullptr ? std::wstring() : std::wstring(text_, SysStringLen(text_));
  }

 private:
  BSTR text_ = nullptr;
};

// A call's HRESULT and the description it left ("" when it left none).
std::pair<unsigned long, std::wstring> Outcome(HRESULT result) {
  Ref<IErrorInfo> info;
  Text description;
  if (GetErrorInfo(0, info.put()) == S_OK && info.get() != nullptr) {
    info->GetDescription(description.put());
  }
  return {static_cast<unsigned long>(result), description.str()};
}

std::wstring TestFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

std::wstring IniPath(const wchar_t* name) {
  std::wstring path = TestFolder() + L"\\" + name;
  DeleteFileW(path.c_str());
  return path;
}

class ApartmentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  template <class T>
  void Create(const CLSID& classId, Ref<T>& object) {
    ASSERT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(T), object.putVoid()), S_OK);
  }

  // A root object with a main version and a fresh INI file.
  void Configure(Ref<_clsCommon>& root, long mainVersion, const wchar_t* iniName) {
    Create(CLSID_clsCommon, root);
    ASSERT_EQ(root->put_MainVer(mainVersion), S_OK);
    Text path(IniPath(iniName).c_str());
    ASSERT_EQ(root->put_INIFileName(path.address()), S_OK);
  }

  static DWORD Advise(IUnknown* source, const IID& events, IDispatch* sink, Ref<IConnectionPoint>& point) {
    Ref<IConnectionPointContainer> container;
    EXPECT_EQ(source->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(events, point.put()), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
    return cookie;
  }
};

// ---- the type library's slots, in the order hosts compiled against ----

// An interface's members in slot order, named as a host's source names them: "Name" for a method,
// "Get:Name", "Let:Name" and "Set:Name" for property procedures.
std::vector<std::wstring> SlotsOf(const IID& iid) {
  Ref<ITypeLib> library;
  EXPECT_EQ(LoadRegTypeLib(LIBID_QlxWCommon, 1, 0, LOCALE_NEUTRAL, library.put()), S_OK);
  Ref<ITypeInfo> dispatch;
  EXPECT_EQ(library->GetTypeInfoOfGuid(iid, dispatch.put()), S_OK);
  HREFTYPE vtable = 0;
  EXPECT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable), S_OK);
  Ref<ITypeInfo> info;
  EXPECT_EQ(dispatch->GetRefTypeInfo(vtable, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  std::vector<std::pair<short, std::wstring>> members;
  for (WORD i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    info->GetFuncDesc(i, &function);
    Text name;
    UINT count = 0;
    info->GetNames(function->memid, name.put(), 1, &count);
    const INVOKEKIND kind = function->invkind;
    const wchar_t* prefix = kind == INVOKE_PROPERTYGET      ? L"Get:"
                            : kind == INVOKE_PROPERTYPUT    ? L"Let:"
                            : kind == INVOKE_PROPERTYPUTREF ? L"Set:"
                                                            : L"";
    members.emplace_back(function->oVft, prefix + name.str());
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  std::stable_sort(members.begin(), members.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::wstring> slots;
  for (const auto& member : members) {
    slots.push_back(member.second);
  }
  return slots;
}

std::vector<std::wstring> Words(const std::wstring& text) {
  std::wistringstream stream(text);
  return {std::istream_iterator<std::wstring, wchar_t>(stream),
          std::istream_iterator<std::wstring, wchar_t>()};
}

TEST_F(ApartmentTest, EveryInterfaceKeepsTheSlotOrderHostsCompiledAgainst) {
  std::wstring rootFields;
  for (const std::wstring& field :
       Words(L"gsMSG_WriteLog gsMSG_WriteLogFile gsMSG_WriteStatus gsMSG_WriteInfoLine gsMSG_ProgressOn "
             L"gsMSG_ProgressOff gsMSG_ProgressMin gsMSG_ProgressMax gsMSG_ProgressVal gsMSG_ProgressIncr "
             L"gsMSG_FromDoc gsMSG_ShowIoMngr gsMSG_DocIsLocked gsMSG_Createviewwindow gs_MatchingTable "
             L"gsMSG_GotoXY gsMSG_UndoName gsMSG_RedoName gsMSG_ShowInfoTable lMAX_LONG lMIN_LONG gdPI")) {
    rootFields += L" Get:" + field + L" Let:" + field;
  }
  std::wstring settings;
  for (const wchar_t* verb : {L"Get", L"Set", L"Check"}) {
    for (const wchar_t* suffix : {L"", L"Array"}) {
      for (const wchar_t* type : {L"Byte", L"Integer", L"Long", L"Double", L"String", L"Boolean"}) {
        settings += std::wstring(L" ") + verb + type + suffix;
      }
    }
  }
  std::wstring hooks;
  for (const wchar_t* hook :
       {L"IsMenuToolTipHook", L"IsMenuCaptionHook", L"IsCaptionHook", L"IsMessageHook", L"IsToolTipHook"}) {
    hooks += std::wstring(L" Let:") + hook + L" Get:" + hook;
  }
  const std::vector<std::wstring> controller = Words(
      L"Get:gsUserName Let:gsUserName Get:lDebugId TearDown SetDefaultForIx SetDefaults SaveToRegistry "
      L"Refresh Get:QlxWHelpFileName Let:QlxWFolders Get:QlxWFolders Get:gcQLX25FileExt Get:gcIBNFileExt "
      L"Get:gcAW2FileExt Get:DefaultWorkspaceRoot Get:DefaultUserFolder Get:SaveFolder");
  EXPECT_EQ(SlotsOf(IID__clsFileSystemController), controller);
  EXPECT_EQ(SlotsOf(IID__clsFSCOld), std::vector<std::wstring>(controller.begin(), controller.begin() + 14));

  const struct {
    const IID& iid;
    std::wstring slots;
  } interfaces[] = {
      {IID__INIManager,
       L"WriteINIBoolean LoadINIBoolean Let:INIFileName WriteINIValueByKey LoadINIValueByKey Get:gSwapXY "
       L"Get:gAngleMode Get:gFirstCoorName Get:gSecondCoorName LoadINIString Get:INIFileName "
       L"Get:TryKeepLayerVisible Let:TryKeepLayerVisible Get:WarnInvisibleCurrentLayer "
       L"Let:WarnInvisibleCurrentLayer"},
      {IID__INIManager5, L"Get:AsIniManager"},
      {IID__CommonFacade, L"Get:INI Get:INI5 Get:LibAnchors Set:LibAnchors"},
      {IID__ILibAnchors, L"Add Remove Get:Released"},
      {IID__clsDebug,
       L"Get:colTraceObj Get:sComponentName Let:bDebug Let:sLogFileName Let:bCallLog Get:sLogFileName "
       L"Get:bCallLog"},
      {IID__clsCommon,
       rootFields +
           L" Get:lDebugId TearDown Let:sAppTitle Get:sAppTitle Set:oAppFrameForm Get:oAppFrameForm "
           L"Get:gsMSG_AppendInfoLine Let:gsMSG_AppendInfoLine Let:sAppComment Get:sAppComment Get:LocalInfo "
           L"Let:INIFileName WriteINIValueByKey LoadINIValueByKey Get:gsMSG_ProjectOnClose "
           L"Let:gsMSG_ProjectOnClose Get:gSwapXY Get:gFirstCoorName Get:gSecondCoorName Get:INI "
           L"Get:gAngleMode Let:MainVer Get:MainVer Get:AppSettings Set:AppSettings"},
      {IID__IAppSettings, settings},
      {IID__FSCReplacer, L""},
      {IID__Keys, L"Get:Item Get:Count Get:NewEnum"},
      {IID__KeyValue, L"Get:Value Get:Key"},
      {IID__FolderManager,
       L"Get:Count SetPath Get:AbsolutePath SetDefault GetSerializables SaveToINI LoadFromINI"},
      {IID__HotKeys,
       L"Get:HotKeyCode ResetHotKeys SetHotKeyCode Get:FunctionCount Get:DefaultKeys IsFncAssigned "
       L"IsKeyAssigned ClearHotKeys RemoveFnc RemoveKey GetFncName GetKeyCode"},
      {IID__LocalInfo,
       L"Let:FontName Get:FontName Let:UnicodeMenu Get:UnicodeMenu Let:FontSize Get:FontSize "
       L"Let:MenuFontSize Get:MenuFontSize Set:ABSABToolTipModData Get:ABSABToolTipModData "
       L"Let:DefaultFormDC Get:DefaultFormDC Let:Charset Get:Charset" +
           hooks + L" Get:UserLocalization Let:UserLocalization Get:Theme"},
      {IID__ITheme, L"Get:MenuStyleId Let:MenuStyleId Get:TransparentBands Let:TransparentBands"},
      {IID__DefaultTheme, L""},
      {IID__HelpControl, L"GetPDFViewerExeName AcrobatLookup AcrobatLookupByFile Init"},
      {IID__ActiveBarFiller, L"FillActiveBar FillActiveBarExplicit"},
  };
  for (const auto& row : interfaces) {
    EXPECT_EQ(SlotsOf(row.iid), Words(row.slots));
  }
}

// ---- early-bound calls and error info ----

TEST_F(ApartmentTest, LibraryErrorsReachTheCallerAsHresultsWithTheirDescriptions) {
  Ref<_clsCommon> root;
  Create(CLSID_clsCommon, root);
  LONG version = 0;
  EXPECT_EQ(Outcome(root->get_MainVer(&version)),
            std::make_pair(0x80040003ul, std::wstring(L"Main version not initialized!")));

  // A small automation number reaches the caller as 0x800A0000 | n.
  Ref<IDispatch> notAForm;
  ASSERT_EQ(
      CoCreateInstance(CLSID_ILibAnchors, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, notAForm.putVoid()),
      S_OK);
  EXPECT_EQ(Outcome(root->putref_oAppFrameForm(notAForm.get())),
            std::make_pair(0x800A000Dul, std::wstring(L"Type mismatch")));

  ASSERT_EQ(root->put_MainVer(4), S_OK);
  for (const std::wstring& badName :
       {std::wstring(L"  "), std::wstring(L"a\0b.ini", 7), std::wstring(L"a|b.ini")}) {
    BSTR name = SysAllocStringLen(badName.data(), static_cast<UINT>(badName.size()));
    EXPECT_EQ(Outcome(root->put_INIFileName(&name)),
              std::make_pair(0x80040001ul, std::wstring(L"Invalid inifile name!")));
    SysFreeString(name);
  }
}

// Type information hosts compile against: the application objects are predeclared, and the settings
// contract's optional arguments are by reference, SaveToFile defaulting to True.
TEST_F(ApartmentTest, TypeInformationCarriesPredeclaredClassesAndOptionalDefaults) {
  Ref<ITypeLib> library;
  ASSERT_EQ(LoadRegTypeLib(LIBID_QlxWCommon, 1, 0, LOCALE_NEUTRAL, library.put()), S_OK);
  const WORD application = TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE | TYPEFLAG_FPREDECLID;
  for (const CLSID* coclass : {&CLSID_clsCommon, &CLSID_clsDebug, &CLSID_clsFileSystemController}) {
    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*coclass, info.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->wTypeFlags & application, application);
    info->ReleaseTypeAttr(attributes);
  }
  Ref<ITypeInfo> settings;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID__IAppSettings, settings.put()), S_OK);
  // The last argument of each member: [flags, pointed-to type, default as a Boolean or none].
  const struct {
    DISPID id;
    USHORT flags;
    VARTYPE type;
    int defaultValue;  // -2: none
  } rows[] = {{5, PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT, VT_BSTR, -2},
              {13, PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT, VT_BOOL, -1},
              {24, PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT, VT_BOOL, -1}};
  TYPEATTR* attributes = nullptr;
  settings->GetTypeAttr(&attributes);
  const WORD count = attributes->cFuncs;
  settings->ReleaseTypeAttr(attributes);
  int checked = 0;
  for (WORD i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    settings->GetFuncDesc(i, &function);
    for (const auto& row : rows) {
      if (function->memid != row.id) {
        continue;
      }
      const bool hasResult =
          (function->lprgelemdescParam[function->cParams - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0;
      const ELEMDESC& last = function->lprgelemdescParam[function->cParams - (hasResult ? 2 : 1)];
      EXPECT_EQ(last.paramdesc.wParamFlags, row.flags) << row.id;
      EXPECT_EQ(last.tdesc.vt, VT_PTR) << row.id;
      EXPECT_EQ(last.tdesc.lptdesc->vt, row.type) << row.id;
      if (row.defaultValue != -2) {
        EXPECT_EQ(last.paramdesc.pparamdescex->varDefaultValue.boolVal, row.defaultValue) << row.id;
      }
      ++checked;
    }
    settings->ReleaseFuncDesc(function);
  }
  EXPECT_EQ(checked, 3);
}

// ---- events ----

// A host-side object on the test's stack: reference counts are kept (the tests read them) but never
// free it. Answers IUnknown, IDispatch, `Interface` and `also`; no type information.
template <class Interface>
class StackObject : public Interface {
 public:
  explicit StackObject(const IID& also) : also_(also) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, also_)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  ULONG references() const { return references_; }

 private:
  IID also_;
  ULONG references_ = 1;
};

// Records OnWriteValue calls as "section key value": a text quoted, a Boolean bare.
class EventSink final : public StackObject<IDispatch> {
 public:
  EventSink() : StackObject(DIID___INIManager5) {}
  std::vector<std::wstring> events;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (id != 1 || params->cArgs != 3) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // Last argument first; all by reference.
    const VARIANT& value = *params->rgvarg[0].pvarVal;
    std::wstring event =
        std::wstring(*params->rgvarg[2].pbstrVal) + L" " + *params->rgvarg[1].pbstrVal + L" ";
    if (value.vt == VT_BSTR) {
      event += L"'" + std::wstring(value.bstrVal == nullptr ? L"" : value.bstrVal) + L"'";
    } else {
      event += value.vt == VT_BOOL ? (value.boolVal != VARIANT_FALSE ? L"True" : L"False")
                                   : L"type " + std::to_wstring(value.vt);
    }
    events.push_back(event);
    return S_OK;
  }
};

class Events : public ApartmentTest {};

TEST_F(Events, EveryWriteRaisesOneOnWriteValueWithTheValueAsPassed) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-events.ini");
  Ref<_INIManager5> manager;
  Create(CLSID_INIManager5, manager);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(manager.get(), DIID___INIManager5, &sink, point);

  Ref<_INIManager> asManager;
  ASSERT_EQ(manager->get_AsIniManager(asManager.put()), S_OK);
  Text section(L"Events");
  Text key(L"Text");
  Text value(L"written");
  ASSERT_EQ(asManager->WriteINIValueByKey(section.address(), key.address(), value.address()), S_OK);
  Text flagKey(L"Flag");
  ASSERT_EQ(asManager->WriteINIBoolean(section.get(), flagKey.get(), VARIANT_TRUE), S_OK);
  Text deleted;  // a null text deletes the key; the event still carries a text
  ASSERT_EQ(asManager->WriteINIValueByKey(section.address(), key.address(), deleted.address()), S_OK);
  EXPECT_EQ(sink.events,
            (std::vector<std::wstring>{L"Events Text 'written'", L"Events Flag True", L"Events Text ''"}));

  // Reading an unrecognised axis setting writes "False" back: one event.
  Text xy(L"xy");
  Text swap(L"SwapXY");
  Text yes(L"yes");
  ASSERT_EQ(asManager->WriteINIValueByKey(xy.address(), swap.address(), yes.address()), S_OK);
  sink.events.clear();
  VARIANT_BOOL swapped = VARIANT_TRUE;
  ASSERT_EQ(asManager->get_gSwapXY(&swapped), S_OK);
  EXPECT_EQ(swapped, VARIANT_FALSE);
  EXPECT_EQ(sink.events, std::vector<std::wstring>{L"xy SwapXY 'False'"});

  // Reads raise nothing; after Unadvise, writes raise nothing.
  sink.events.clear();
  Text read;
  ASSERT_EQ(asManager->LoadINIString(section.get(), key.get(), nullptr, read.put()), S_OK);
  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  ASSERT_EQ(asManager->WriteINIBoolean(section.get(), flagKey.get(), VARIANT_FALSE), S_OK);
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  point.Reset();
  asManager.Reset();
  manager.Reset();
  EXPECT_EQ(sink.references(), 1u) << "the connection released the listener";
}

TEST_F(Events, HostsFindTheEventInterfaceThroughTheClassInformation) {
  Ref<_INIManager5> manager;
  Create(CLSID_INIManager5, manager);
  Ref<IProvideClassInfo> provider;
  ASSERT_EQ(manager->QueryInterface(IID_IProvideClassInfo, provider.putVoid()), S_OK);
  Ref<ITypeInfo> coclass;
  ASSERT_EQ(provider->GetClassInfo(coclass.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, CLSID_INIManager5));
  const WORD interfaces = attributes->cImplTypes;
  coclass->ReleaseTypeAttr(attributes);
  bool foundSource = false;
  for (UINT i = 0; i < interfaces; ++i) {
    INT flags = 0;
    coclass->GetImplTypeFlags(i, &flags);
    if ((flags & IMPLTYPEFLAG_FSOURCE) != 0 && (flags & IMPLTYPEFLAG_FDEFAULT) != 0) {
      HREFTYPE reference = 0;
      coclass->GetRefTypeOfImplType(i, &reference);
      Ref<ITypeInfo> source;
      coclass->GetRefTypeInfo(reference, source.put());
      TYPEATTR* sourceAttributes = nullptr;
      source->GetTypeAttr(&sourceAttributes);
      foundSource = IsEqualGUID(sourceAttributes->guid, DIID___INIManager5);
      source->ReleaseTypeAttr(sourceAttributes);
    }
  }
  EXPECT_TRUE(foundSource);

  Ref<ISupportErrorInfo> errors;
  ASSERT_EQ(manager->QueryInterface(IID_ISupportErrorInfo, errors.putVoid()), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__INIManager), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__clsCommon), S_FALSE);
}

TEST_F(Events, ContainersListTheirPointsAndPointsTheirConnections) {
  Ref<_INIManager5> manager;
  Create(CLSID_INIManager5, manager);
  EventSink first;
  EventSink second;
  Ref<IConnectionPoint> point;
  const DWORD firstCookie = Advise(manager.get(), DIID___INIManager5, &first, point);
  const DWORD secondCookie = Advise(manager.get(), DIID___INIManager5, &second, point);

  Ref<IConnectionPointContainer> container;
  ASSERT_EQ(manager->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
  Ref<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  IConnectionPoint* listed[2] = {};
  ULONG count = 0;
  EXPECT_EQ(points->Next(2, listed, &count), S_FALSE);
  ASSERT_EQ(count, 1u);
  IID events{};
  listed[0]->GetConnectionInterface(&events);
  EXPECT_TRUE(IsEqualIID(events, DIID___INIManager5));
  listed[0]->Release();

  Ref<IEnumConnections> connections;
  ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
  CONNECTDATA data[3] = {};
  ASSERT_EQ(connections->Next(3, data, &count), S_FALSE);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(std::make_pair(data[0].dwCookie, data[1].dwCookie), std::make_pair(firstCookie, secondCookie));
  EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(&first));
  for (ULONG i = 0; i < count; ++i) {
    data[i].pUnk->Release();
  }
  Ref<IEnumConnections> clone;
  ASSERT_EQ(connections->Reset(), S_OK);
  ASSERT_EQ(connections->Skip(1), S_OK);
  ASSERT_EQ(connections->Clone(clone.put()), S_OK);
  ASSERT_EQ(clone->Next(1, data, nullptr), S_OK);
  EXPECT_EQ(data[0].dwCookie, secondCookie);
  data[0].pUnk->Release();

  point->Unadvise(firstCookie);
  point->Unadvise(secondCookie);
  clone.Reset();
  connections.Reset();
  EXPECT_EQ(first.references(), 1u);
  EXPECT_EQ(second.references(), 1u);
}

TEST_F(Events, TheSharedManagerIsOneObjectWithOneSetOfListeners) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-shared-events.ini");
  Ref<_CommonFacade> facade;
  Create(CLSID_CommonFacade, facade);
  Ref<_INIManager5> shared;
  ASSERT_EQ(facade->get_INI5(shared.put()), S_OK);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(shared.get(), DIID___INIManager5, &sink, point);
  Text section(L"S");
  Text key(L"K");
  Text value(L"through the root");
  ASSERT_EQ(root->WriteINIValueByKey(section.address(), key.address(), value.address()), S_OK);
  EXPECT_EQ(sink.events, std::vector<std::wstring>{L"S K 'through the root'"});
  point->Unadvise(cookie);
}

// ---- objects the host supplies ----

class HostAnchors final : public StackObject<_ILibAnchors> {
 public:
  explicit HostAnchors(bool released) : StackObject(IID__ILibAnchors), released_(released) {}
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Add(IDispatch*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Remove(IDispatch*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Released(VARIANT_BOOL* result) override {
    ++asked;
    *result = released_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  void SetReleased(bool released) { released_ = released; }
  int asked = 0;

 private:
  bool released_;
};

TEST_F(ApartmentTest, HostAnchorsAreAskedWhetherTheyMayBeReplaced) {
  Ref<_CommonFacade> facade;
  Create(CLSID_CommonFacade, facade);
  HostAnchors holding(false);
  HostAnchors released(true);
  ASSERT_EQ(facade->putref_LibAnchors(&holding), S_OK);
  Ref<_ILibAnchors> stored;
  ASSERT_EQ(facade->get_LibAnchors(stored.put()), S_OK);
  EXPECT_EQ(stored.get(), static_cast<_ILibAnchors*>(&holding));

  EXPECT_EQ(static_cast<unsigned long>(facade->putref_LibAnchors(&released)), 0x80040001ul);
  EXPECT_EQ(holding.asked, 1);
  ASSERT_EQ(facade->get_LibAnchors(stored.put()), S_OK);
  EXPECT_EQ(stored.get(), static_cast<_ILibAnchors*>(&holding));

  EXPECT_EQ(static_cast<unsigned long>(facade->putref_LibAnchors(nullptr)), 0x80040001ul)
      << "none is no exception";

  // Once released, they may go; the released ones in turn let none take their place.
  holding.SetReleased(true);
  ASSERT_EQ(facade->putref_LibAnchors(&released), S_OK);
  ASSERT_EQ(facade->putref_LibAnchors(nullptr), S_OK);
  ASSERT_EQ(facade->get_LibAnchors(stored.put()), S_OK);
  EXPECT_EQ(stored.get(), nullptr);
}

TEST_F(ApartmentTest, NullSettingsArraysAreEmptyArrays) {
  Ref<_IAppSettings> settings;
  Create(CLSID_IAppSettings, settings);
  Text category(L"C");
  Text key(L"K");
  SAFEARRAY* defaults = SafeArrayCreateVector(VT_R8, 0, 2);
  SAFEARRAY* result = nullptr;
  ASSERT_EQ(settings->GetDoubleArray(category.address(), key.address(), &defaults, &result), S_OK);
  ASSERT_NE(result, nullptr);
  LONG upper = 0;
  SafeArrayGetUBound(result, 1, &upper);
  EXPECT_EQ(upper, -1) << "no elements, whatever the defaults";
  SafeArrayDestroy(result);
  SafeArrayDestroy(defaults);

  SAFEARRAY* wrongType = SafeArrayCreateVector(VT_BSTR, 0, 1);
  EXPECT_EQ(static_cast<unsigned long>(
                settings->SetLongArray(category.address(), key.address(), &wrongType, nullptr)),
            0x800A000Dul);
  SafeArrayDestroy(wrongType);
}

// A host's own settings store, implemented against the type library's signatures: the library keeps
// it and hands it back, and callers reach it early-bound. It records what its callers passed.
class HostSettings final : public StackObject<_IAppSettings> {
 public:
  HostSettings() : StackObject(IID__IAppSettings) {}
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetString(BSTR*, BSTR*, BSTR* defaultValue, BSTR* result) override {
    *result = SysAllocString(defaultValue == nullptr ? L"<none>" : *defaultValue);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetLong(BSTR*, BSTR*, LONG* value, VARIANT_BOOL* saveToFile) override {
    saved.push_back(std::to_wstring(*value) + (*saveToFile != VARIANT_FALSE ? L" saved" : L" kept"));
    return S_OK;
  }
  std::vector<std::wstring> saved;
#define QLXW_UNUSED_SETTING(Type, Name)                                              \
  HRESULT STDMETHODCALLTYPE Get##Name(BSTR*, BSTR*, Type*, Type*) override {         \
    return E_NOTIMPL;                                                                \
  }                                                                                  \
  HRESULT STDMETHODCALLTYPE Set##Name(BSTR*, BSTR*, Type*, VARIANT_BOOL*) override { \
    return E_NOTIMPL;                                                                \
  }                                                                                  \
  HRESULT STDMETHODCALLTYPE Check##Name(BSTR*, BSTR*, VARIANT_BOOL*) override {      \
    return E_NOTIMPL;                                                                \
  }
  QLXW_UNUSED_SETTING(unsigned char, Byte)
  QLXW_UNUSED_SETTING(short, Integer)
  QLXW_UNUSED_SETTING(double, Double)
  QLXW_UNUSED_SETTING(VARIANT_BOOL, Boolean)
  QLXW_UNUSED_SETTING(SAFEARRAY*, ByteArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, IntegerArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, LongArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, DoubleArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, StringArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, BooleanArray)
#undef QLXW_UNUSED_SETTING
  HRESULT STDMETHODCALLTYPE GetLong(BSTR*, BSTR*, LONG*, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CheckLong(BSTR*, BSTR*, VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetString(BSTR*, BSTR*, BSTR*, VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CheckString(BSTR*, BSTR*, VARIANT_BOOL*) override {
    return E_NOTIMPL;
  }
};

// Late-bound: a call by name with the trailing arguments left out, as a script makes it.
HRESULT CallLeavingOut(IDispatch* object, const wchar_t* name, std::vector<VARIANT> arguments,
                       VARIANT* result) {
  DISPID id = 0;
  auto* names = const_cast<LPOLESTR>(name);
  const HRESULT found = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) {
    return found;
  }
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                        result, nullptr, nullptr);
}

TEST_F(ApartmentTest, SettingsAreCalledAndImplementedWithTheirOptionalArguments) {
  Text category(L"C");
  Text key(L"K");
  Text given(L"given");
  LONG value = 7;
  VARIANT_BOOL keep = VARIANT_FALSE;

  // The library's null store, early-bound (a left-out argument is a null pointer) and late-bound.
  Ref<_IAppSettings> library;
  Create(CLSID_IAppSettings, library);
  Text read;
  EXPECT_EQ(library->GetString(category.address(), key.address(), nullptr, read.put()), S_OK);
  EXPECT_EQ(library->GetString(category.address(), key.address(), given.address(), read.put()), S_OK);
  EXPECT_EQ(library->SetLong(category.address(), key.address(), &value, nullptr), S_OK);
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = category.get();
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 7;
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(CallLeavingOut(library.get(), L"GetString", {text, text}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BSTR);
  VariantClear(&result);
  EXPECT_EQ(CallLeavingOut(library.get(), L"SetLong", {text, text, number}, nullptr), S_OK);
  EXPECT_EQ(CallLeavingOut(library.get(), L"SetBoolean", {text, text, number}, nullptr), S_OK);

  // A host's store: handed in, handed back, called early-bound with and without the optional ones.
  HostSettings host;
  Ref<_clsCommon> root;
  Create(CLSID_clsCommon, root);
  ASSERT_EQ(root->putref_AppSettings(&host), S_OK);
  Ref<_IAppSettings> back;
  ASSERT_EQ(root->get_AppSettings(back.put()), S_OK);
  ASSERT_EQ(back.get(), static_cast<_IAppSettings*>(&host));
  VARIANT_BOOL save = VARIANT_TRUE;
  EXPECT_EQ(back->SetLong(category.address(), key.address(), &value, &save), S_OK);
  EXPECT_EQ(back->SetLong(category.address(), key.address(), &value, &keep), S_OK);
  EXPECT_EQ(host.saved, (std::vector<std::wstring>{L"7 saved", L"7 kept"}));
  EXPECT_EQ(back->GetString(category.address(), key.address(), given.address(), read.put()), S_OK);
  EXPECT_EQ(read.str(), L"given");
  back.Reset();
  ASSERT_EQ(root->putref_AppSettings(nullptr), S_OK);
  EXPECT_EQ(host.references(), 1u) << "the library let the host's store go";

  // The two message names whose puts take the text by reference.
  Text name(L"Appended");
  ASSERT_EQ(root->put_gsMSG_AppendInfoLine(name.address()), S_OK);
  ASSERT_EQ(root->put_gsMSG_ProjectOnClose(name.address()), S_OK);
  Text appended;
  ASSERT_EQ(root->get_gsMSG_ProjectOnClose(appended.put()), S_OK);
  EXPECT_EQ(appended.str(), L"Appended");
}

// ---- one library-wide state per apartment ----

TEST(Apartments, EachThreadSeesItsOwnLibraryState) {
  LONG otherVersion = 0;
  HRESULT otherResult = S_OK;
  std::wstring otherTitle = L"unset";
  std::thread first([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      Ref<_clsCommon> root;
      CoCreateInstance(CLSID_clsCommon, nullptr, CLSCTX_INPROC_SERVER, IID__clsCommon, root.putVoid());
      root->put_MainVer(5);
      Text title(L"first thread");
      root->put_sAppTitle(title.address());
      std::thread second([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
          Ref<_clsCommon> own;
          CoCreateInstance(CLSID_clsCommon, nullptr, CLSCTX_INPROC_SERVER, IID__clsCommon, own.putVoid());
          otherResult = own->get_MainVer(&otherVersion);
          Text seen;
          own->get_sAppTitle(seen.put());
          otherTitle = seen.str();
        }
        CoUninitialize();
      });
      second.join();
    }
    CoUninitialize();
  });
  first.join();
  EXPECT_EQ(static_cast<unsigned long>(otherResult), 0x80040003ul);
  EXPECT_EQ(otherTitle, L"");
}

TEST(Apartments, TheStateEndsWithTheApartmentAndDefaultsAreWrittenThen) {
  const std::wstring path = IniPath(L"client-apartment-end.ini");
  bool writtenWhileAlive = true;
  bool writtenAtUninitialize = false;
  std::thread host([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      Ref<_clsCommon> root;
      CoCreateInstance(CLSID_clsCommon, nullptr, CLSCTX_INPROC_SERVER, IID__clsCommon, root.putVoid());
      root->put_MainVer(4);
      Text name(path.c_str());
      root->put_INIFileName(name.address());
      Ref<_INIManager> manager;
      root->get_INI(manager.put());
      Text section(L"Defaults");
      Text key(L"AtApartmentEnd");
      Text fallback(L"yes");
      Text read;
      manager->LoadINIString(section.get(), key.get(), fallback.get(), read.put());
    }
    // The objects are gone, the shared manager is not: it belongs to the thread's state.
    writtenWhileAlive = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    CoUninitialize();
    wchar_t value[16] = {};
    GetPrivateProfileStringW(L"Defaults", L"AtApartmentEnd", L"", value, 16, path.c_str());
    writtenAtUninitialize = std::wstring(value) == L"yes";
  });
  host.join();
  EXPECT_FALSE(writtenWhileAlive);
  // COM unloads the server from the apartment at its last CoUninitialize: the library leaves the
  // thread then, and the defaults are in the file before the thread ends.
  EXPECT_TRUE(writtenAtUninitialize);
}

// ---- folders ----

TEST_F(ApartmentTest, FolderControllersThroughTheContract) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-folders.ini");
  Ref<_clsFileSystemController> controller;
  Create(CLSID_clsFileSystemController, controller);
  const std::wstring workspace = TestFolder() + L"\\ClientWorkSpace";
  EnumFoldersPaths index = egsPath_WorkSpace;
  Text path(workspace.c_str());
  ASSERT_EQ(controller->put_QlxWFolders(&index, path.get()), S_OK);
  index = egsPath_Temp;
  Text temp;
  ASSERT_EQ(controller->get_QlxWFolders(&index, temp.put()), S_OK);
  EXPECT_EQ(index, egsPath_Temp);  // by reference, never changed
  EXPECT_EQ(temp.str().rfind(workspace + L"\\", 0), 0u);
  index = static_cast<EnumFoldersPaths>(17);
  EXPECT_EQ(Outcome(controller->get_QlxWFolders(&index, temp.put())).first, 0x800A0005ul);

  // The replacer's own interface is empty: hosts reach the contract through QueryInterface.
  Ref<IUnknown> replacer;
  Create(CLSID_FSCReplacer, replacer);
  Ref<_FSCReplacer> own;
  EXPECT_EQ(replacer->QueryInterface(IID__FSCReplacer, own.putVoid()), S_OK);
  Ref<_clsFileSystemController> contract;
  ASSERT_EQ(replacer->QueryInterface(IID__clsFileSystemController, contract.putVoid()), S_OK);
  Text extension;
  ASSERT_EQ(contract->get_gcQLX25FileExt(extension.put()), S_OK);
  EXPECT_EQ(extension.str(), L"gdb");
}

// Script engines index only arrays of variants: the folder numbers' array is read here.
TEST_F(ApartmentTest, TheFolderManagersSerializablesAreAnArrayOfLongs) {
  Ref<_FolderManager> manager;
  Create(CLSID_FolderManager, manager);
  SAFEARRAY* folders = nullptr;
  ASSERT_EQ(manager->GetSerializables(&folders), S_OK);
  LONG lower = -1;
  LONG upper = -1;
  SafeArrayGetLBound(folders, 1, &lower);
  SafeArrayGetUBound(folders, 1, &upper);
  EXPECT_EQ(lower, 0);
  std::vector<LONG> values;
  for (LONG i = lower; i <= upper; ++i) {
    values.push_back(0);
    SafeArrayGetElement(folders, &i, &values.back());
  }
  SafeArrayDestroy(folders);
  EXPECT_EQ(values, (std::vector<LONG>{egsPath_SaveFolder, egsPath_Template, egsPath_Temp}));
}

TEST_F(ApartmentTest, KeysHandOutTheirRecordsThroughIEnumVARIANT) {
  Ref<_Keys> keys;
  Create(CLSID_Keys, keys);
  Ref<_KeyValue> missing;
  EXPECT_EQ(Outcome(keys->get_Item(static_cast<EnumFoldersPaths>(17), missing.put())).first, 0x800A0005ul);
  Ref<IUnknown> unknown;
  ASSERT_EQ(keys->get_NewEnum(unknown.put()), S_OK);
  Ref<IEnumVARIANT> records;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, records.putVoid()), S_OK);
  VARIANT items[20];
  ULONG fetched = 0;
  EXPECT_EQ(records->Next(20, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 17u);
  for (ULONG i = 0; i < fetched; ++i) {
    EXPECT_EQ(items[i].vt, VT_DISPATCH);
    VariantClear(&items[i]);
  }
}

// ---- user-interface support: hot keys, locale and theme ----

TEST_F(ApartmentTest, HotKeysLeaveTheirByReferenceArgumentsAloneAndFailWithHresults) {
  Ref<_HotKeys> keys;
  Create(CLSID_HotKeys, keys);
  ASSERT_EQ(keys->ResetHotKeys(), S_OK);
  short f1 = 112;
  Text layers(L"Layers");
  ASSERT_EQ(keys->SetHotKeyCode(&f1, layers.address()), S_OK);
  EXPECT_EQ(f1, 112) << "arguments are never changed";
  EXPECT_EQ(layers.str(), L"Layers");
  short position = 33;
  short code = 0;
  ASSERT_EQ(keys->GetKeyCode(&position, &code), S_OK);
  EXPECT_EQ(code, 112);

  position = 0;
  Text name;
  EXPECT_EQ(Outcome(keys->GetFncName(&position, name.put())),
            std::make_pair(0x800A0009ul, std::wstring(L"Subscript out of range")));
  IDispatch* defaults = nullptr;
  EXPECT_EQ(Outcome(keys->get_DefaultKeys(&defaults)),
            std::make_pair(0x800A03E9ul, std::wstring(L"QlxWCommon.HotKeys.DefaultKeys/1")));
  EXPECT_EQ(defaults, nullptr);
}

// Records the font events of LocalInfo: which, and the argument as it came (by reference).
class FontEventSink final : public StackObject<IDispatch> {
 public:
  FontEventSink() : StackObject(DIID___LocalInfo) {}
  std::vector<std::wstring> events;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (params->cArgs != 1) {
      return DISP_E_BADPARAMCOUNT;
    }
    const VARIANT& argument = params->rgvarg[0];
    if (id == 1 && argument.vt == (VT_BYREF | VT_BSTR)) {
      events.push_back(L"ChangeFontName " + std::wstring(*argument.pbstrVal));
    } else if ((id == 2 || id == 3) && argument.vt == (VT_BYREF | VT_R4)) {
      events.push_back(std::wstring(id == 2 ? L"ChangeFontSize " : L"ChangeMenuFontSize ") +
                       std::to_wstring(*argument.pfltVal));
    } else {
      events.push_back(L"unexpected " + std::to_wstring(id) + L" " + std::to_wstring(argument.vt));
    }
    return S_OK;
  }
};

class LocalInfoEvents : public ApartmentTest {};

TEST_F(LocalInfoEvents, FontChangesInTheirOrderThenTheLanguageSwitch) {
  Ref<_UILanguage> language;
  Create(CLSID_UILanguage, language);
  ASSERT_EQ(language->ChangeUILanguage(2057), S_OK);
  Ref<_ITheme> follower;  // takes the runtime's language for the library's texts
  Create(CLSID_ITheme, follower);
  Ref<_LocalInfo> info;
  Create(CLSID_LocalInfo, info);
  FontEventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(info.get(), DIID___LocalInfo, &sink, point);

  Text tahoma(L"Tahoma");
  ASSERT_EQ(info->put_FontName(tahoma.get()), S_OK);
  ASSERT_EQ(info->put_FontSize(9.0F), S_OK);
  ASSERT_EQ(info->put_MenuFontSize(11.5F), S_OK);
  ASSERT_EQ(info->put_Charset(238), S_OK);  // no event
  Text empty(L"");
  EXPECT_EQ(Outcome(info->put_FontName(empty.get())),
            std::make_pair(0x800A03E9ul, std::wstring(L"Invalid parameter")));
  ASSERT_EQ(language->ChangeUILanguage(1066), S_OK);
  float menuSize = 0;
  ASSERT_EQ(info->get_MenuFontSize(&menuSize), S_OK);
  EXPECT_EQ(menuSize, 11.5F);
  EXPECT_EQ(sink.events,
            (std::vector<std::wstring>{L"ChangeFontName Tahoma", L"ChangeFontSize 9.000000",
                                       L"ChangeMenuFontSize 11.500000", L"ChangeFontName .VnTime"}));

  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  ASSERT_EQ(info->put_FontSize(10.0F), S_OK);
  EXPECT_EQ(sink.events.size(), 4U);
}

TEST_F(LocalInfoEvents, TheRootObjectsLocalInfoIsOneObjectWithOneSetOfListeners) {
  Ref<_clsCommon> root;
  Create(CLSID_clsCommon, root);
  Ref<_clsCommon> other;
  Create(CLSID_clsCommon, other);
  Ref<IDispatch> shared;
  ASSERT_EQ(root->get_LocalInfo(shared.put()), S_OK);
  ASSERT_NE(shared.get(), nullptr);
  FontEventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(shared.get(), DIID___LocalInfo, &sink, point);

  Ref<IDispatch> again;
  ASSERT_EQ(other->get_LocalInfo(again.put()), S_OK);
  Ref<_LocalInfo> info;
  ASSERT_EQ(again->QueryInterface(IID__LocalInfo, info.putVoid()), S_OK);
  ASSERT_EQ(info->put_FontSize(12.0F), S_OK);
  EXPECT_EQ(sink.events, std::vector<std::wstring>{L"ChangeFontSize 12.000000"});
  point->Unadvise(cookie);
}

TEST_F(ApartmentTest, TheLocalInfosThemeIsADefaultThemeAPlainIThemeIsNot) {
  Ref<_clsCommon> root;
  Configure(root, 4, L"client-theme.ini");
  Ref<_LocalInfo> info;
  Create(CLSID_LocalInfo, info);
  Ref<_ITheme> theme;
  ASSERT_EQ(info->get_Theme(theme.put()), S_OK);
  Ref<_DefaultTheme> asDefault;
  EXPECT_EQ(theme->QueryInterface(IID__DefaultTheme, asDefault.putVoid()), S_OK);
  Ref<_ITheme> plain;
  Create(CLSID_ITheme, plain);
  EXPECT_EQ(plain->QueryInterface(IID__DefaultTheme, asDefault.putVoid()), E_NOINTERFACE);
}

// A host's label control as the library sees it: the link members of a DDE client, no window.
class HostLabel final : public StackObject<IDispatch> {
 public:
  HostLabel() : StackObject(IID_IDispatch) {}
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const wchar_t* const kMembers[] = {L"Caption",  L"LinkTopic",   L"LinkItem",
                                              L"LinkMode", L"LinkTimeout", L"LinkExecute"};
    for (DISPID id = 0; id < 6; ++id) {
      if (count == 1 && _wcsicmp(names[0], kMembers[id]) == 0) {
        ids[0] = id + 1;
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return S_OK;
  }
};

// run.sh registers a stand-in viewer for .pdf files that serves "Acroview|Control" and writes down
// the commands it receives.
TEST_F(ApartmentTest, HelpCommandsArriveAtTheViewersDdeServer) {
  const std::wstring base = TestFolder();
  const std::wstring pdf = base + L"\\client manual.pdf";
  const std::wstring dictionary = base + L"\\client-help.txt";
  const std::wstring log = base + L"\\dde-commands.txt";
  DeleteFileW(log.c_str());
  for (const auto& [path, text] :
       {std::pair{pdf, std::string("%PDF-1.4\n")},
        std::pair{dictionary, std::string("Intro\r\nLayers,12\r\nZoom,3,x\r\nlayers,40\r\nAfter,9\r\n")}}) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }

  Ref<_clsDebug> debug;
  Create(CLSID_clsDebug, debug);
  Text traceFile((base + L"\\client-help-trace.log").c_str());
  DeleteFileW(traceFile.get());
  ASSERT_EQ(debug->put_sLogFileName(traceFile.address()), S_OK);
  VARIANT_BOOL on = VARIANT_TRUE;
  ASSERT_EQ(debug->put_bCallLog(&on), S_OK);
  Ref<_HelpControl> help;
  Create(CLSID_HelpControl, help);
  Text viewer;
  Text sample(pdf.c_str());
  ASSERT_EQ(help->GetPDFViewerExeName(sample.get(), viewer.put()), S_OK) << "no viewer registered for .pdf";
  EXPECT_NE(viewer.str().find(L"qlxw_fake_viewer.exe"), std::wstring::npos);

  HostLabel label;
  Text dictionaryText(dictionary.c_str());
  Text pdfText(pdf.c_str());
  ASSERT_EQ(help->Init(dictionaryText.address(), pdfText.address(), &label), S_OK);
  const int size = WideCharToMultiByte(CP_UTF8, 0, pdf.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, pdf.c_str(), -1, path.data(), size, nullptr, nullptr);

  // The dictionary's rules as the viewer sees them: the page index each key is sent with.
  struct Lookup {
    const wchar_t* key;
    int pageIndex;
  };
  for (const Lookup& lookup :
       {Lookup{L"LAYERS", 11}, Lookup{L"zoom", 2}, Lookup{L"Intro", 0}, Lookup{L"After", 0}}) {
    DeleteFileW(log.c_str());
    Text key(lookup.key);
    VARIANT_BOOL shown = VARIANT_FALSE;
    ASSERT_EQ(help->AcrobatLookup(key.address(), &shown), S_OK);
    EXPECT_EQ(shown, VARIANT_TRUE) << "see client-help-trace.log";
    std::string received;
    for (int i = 0; i < 300 && received.find("DocGoTo") == std::string::npos; ++i) {
      Sleep(20);
      HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        char buffer[4096] = {};
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
        CloseHandle(file);
        received.assign(buffer, read);
      }
    }
    EXPECT_EQ(received, "[DocOpen(\"" + path + "\")]\r\n[DocGoTo(\"" + path + "\"," +
                            std::to_string(lookup.pageIndex) + ")]\r\n");
  }
  VARIANT_BOOL off = VARIANT_FALSE;
  debug->put_bCallLog(&off);
}

}  // namespace
