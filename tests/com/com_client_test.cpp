// A host's C++ client of the registered server: early binding through the headers made from the type
// library, events through connection points, error info, and one apartment per thread.
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
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
  Ref(Ref&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref& operator=(Ref&&) = delete;
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
      std::exchange(pointer_, nullptr)->Release();
    }
  }

 private:
  T* pointer_ = nullptr;
};

template <class T>
Ref<T> Make(const CLSID& classId) {
  Ref<T> object;
  if (CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(T), object.putVoid()) != S_OK) {
    throw std::runtime_error("CoCreateInstance failed");
  }
  return object;
}

// A text the call may read by value or by reference: Text(L"x").address() lives through the call.
class Text {
 public:
  explicit Text(const wchar_t* text) : text_(SysAllocString(text)) {}
  explicit Text(const std::wstring& text) : Text(text.c_str()) {}
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(text_); }
  BSTR get() const { return text_; }
  BSTR* address() { return &text_; }
  BSTR* put() {
    SysFreeString(std::exchange(text_, nullptr));
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

std::pair<unsigned long, std::wstring> Failure(unsigned long number, const wchar_t* description) {
  return {number, description};
}

unsigned long Number(HRESULT result) {
  return static_cast<unsigned long>(result);
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

std::vector<std::wstring> Words(const std::wstring& text) {
  std::wistringstream stream(text);
  return {std::istream_iterator<std::wstring, wchar_t>(stream),
          std::istream_iterator<std::wstring, wchar_t>()};
}

// A root object with a main version and a fresh INI file.
Ref<_clsCommon> Configured(long mainVersion, const wchar_t* iniName) {
  auto root = Make<_clsCommon>(CLSID_clsCommon);
  EXPECT_EQ(root->put_MainVer(mainVersion), S_OK);
  EXPECT_EQ(root->put_INIFileName(Text(IniPath(iniName)).address()), S_OK);
  return root;
}

class ApartmentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

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

Ref<ITypeInfo> TypeInfoOf(const GUID& guid) {
  Ref<ITypeLib> library;
  EXPECT_EQ(LoadRegTypeLib(LIBID_QlxWCommon, 1, 0, LOCALE_NEUTRAL, library.put()), S_OK);
  Ref<ITypeInfo> info;
  EXPECT_EQ(library->GetTypeInfoOfGuid(guid, info.put()), S_OK);
  return info;
}

// Calls `visit` with a type's attributes, then with each of its functions.
void VisitType(ITypeInfo* info, const std::function<void(const TYPEATTR&)>& attributes,
               const std::function<void(const FUNCDESC&)>& visit = {}) {
  TYPEATTR* type = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
  attributes(*type);
  for (WORD i = 0; visit && i < type->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    info->GetFuncDesc(i, &function);
    visit(*function);
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(type);
}

// An interface's members in slot order, named as a host's source names them: "Name" for a method,
// "Get:Name", "Let:Name" and "Set:Name" for property procedures.
std::vector<std::wstring> SlotsOf(const IID& iid) {
  auto dispatch = TypeInfoOf(iid);
  HREFTYPE vtable = 0;
  EXPECT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable), S_OK);
  Ref<ITypeInfo> info;
  EXPECT_EQ(dispatch->GetRefTypeInfo(vtable, info.put()), S_OK);
  std::vector<std::pair<short, std::wstring>> members;
  VisitType(
      info.get(), [](const TYPEATTR&) {},
      [&](const FUNCDESC& function) {
        Text name;
        UINT count = 0;
        info->GetNames(function.memid, name.put(), 1, &count);
        const INVOKEKIND kind = function.invkind;
        const wchar_t* prefix = kind == INVOKE_PROPERTYGET      ? L"Get:"
                                : kind == INVOKE_PROPERTYPUT    ? L"Let:"
                                : kind == INVOKE_PROPERTYPUTREF ? L"Set:"
                                                                : L"";
        members.emplace_back(function.oVft, prefix + name.str());
      });
  std::stable_sort(members.begin(), members.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::wstring> slots;
  slots.reserve(members.size());
  for (const auto& member : members) {
    slots.push_back(member.second);
  }
  return slots;
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
  auto root = Make<_clsCommon>(CLSID_clsCommon);
  LONG version = 0;
  EXPECT_EQ(Outcome(root->get_MainVer(&version)), Failure(0x80040003ul, L"Main version not initialized!"));
  // A small automation number reaches the caller as 0x800A0000 | n.
  auto notAForm = Make<IDispatch>(CLSID_ILibAnchors);
  EXPECT_EQ(Outcome(root->putref_oAppFrameForm(notAForm.get())), Failure(0x800A000Dul, L"Type mismatch"));
}

// Type information hosts compile against: the application objects are predeclared, and the settings
// contract's optional arguments are by reference, SaveToFile defaulting to True.
TEST_F(ApartmentTest, TypeInformationCarriesPredeclaredClassesAndOptionalDefaults) {
  const WORD application = TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE | TYPEFLAG_FPREDECLID;
  for (const CLSID* coclass : {&CLSID_clsCommon, &CLSID_clsDebug, &CLSID_clsFileSystemController}) {
    VisitType(TypeInfoOf(*coclass).get(),
              [&](const TYPEATTR& type) { EXPECT_EQ(type.wTypeFlags & application, application); });
  }
  // The last argument of each member: [flags, pointed-to type, default as a Boolean or none].
  const USHORT optional = PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT;
  const struct {
    DISPID id;
    USHORT flags;
    VARTYPE type;
    int defaultValue;  // -2: none
  } rows[] = {{5, optional, VT_BSTR, -2},
              {13, optional | PARAMFLAG_FHASDEFAULT, VT_BOOL, -1},
              {24, optional | PARAMFLAG_FHASDEFAULT, VT_BOOL, -1}};
  int checked = 0;
  VisitType(
      TypeInfoOf(IID__IAppSettings).get(), [](const TYPEATTR&) {},
      [&](const FUNCDESC& function) {
        for (const auto& row : rows) {
          if (function.memid != row.id) {
            continue;
          }
          const bool hasResult = (function.lprgelemdescParam[function.cParams - 1].paramdesc.wParamFlags &
                                  PARAMFLAG_FRETVAL) != 0;
          const ELEMDESC& last = function.lprgelemdescParam[function.cParams - (hasResult ? 2 : 1)];
          EXPECT_EQ(last.paramdesc.wParamFlags, row.flags) << row.id;
          EXPECT_EQ(last.tdesc.vt, VT_PTR) << row.id;
          EXPECT_EQ(last.tdesc.lptdesc->vt, row.type) << row.id;
          if (row.defaultValue != -2) {
            EXPECT_EQ(last.paramdesc.pparamdescex->varDefaultValue.boolVal, row.defaultValue) << row.id;
          }
          ++checked;
        }
      });
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
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
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
  auto root = Configured(5, L"client-events.ini");
  auto manager = Make<_INIManager5>(CLSID_INIManager5);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(manager.get(), DIID___INIManager5, &sink, point);

  Ref<_INIManager> asManager;
  ASSERT_EQ(manager->get_AsIniManager(asManager.put()), S_OK);
  Text section(L"Events");
  Text key(L"Text");
  Text flag(L"Flag");
  ASSERT_EQ(asManager->WriteINIValueByKey(section.address(), key.address(), Text(L"written").address()),
            S_OK);
  ASSERT_EQ(asManager->WriteINIBoolean(section.get(), flag.get(), VARIANT_TRUE), S_OK);
  // A null text deletes the key; the event still carries a text.
  ASSERT_EQ(asManager->WriteINIValueByKey(section.address(), key.address(), Text().address()), S_OK);
  EXPECT_EQ(sink.events,
            (std::vector<std::wstring>{L"Events Text 'written'", L"Events Flag True", L"Events Text ''"}));

  // Reading an unrecognised axis setting writes "False" back: one event.
  ASSERT_EQ(
      asManager->WriteINIValueByKey(Text(L"xy").address(), Text(L"SwapXY").address(), Text(L"yes").address()),
      S_OK);
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
  ASSERT_EQ(asManager->WriteINIBoolean(section.get(), flag.get(), VARIANT_FALSE), S_OK);
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  point.Reset();
  asManager.Reset();
  manager.Reset();
  EXPECT_EQ(sink.references(), 1u) << "the connection released the listener";
}

TEST_F(Events, HostsFindTheEventInterfaceThroughTheClassInformation) {
  auto manager = Make<_INIManager5>(CLSID_INIManager5);
  Ref<IProvideClassInfo> provider;
  ASSERT_EQ(manager->QueryInterface(IID_IProvideClassInfo, provider.putVoid()), S_OK);
  Ref<ITypeInfo> coclass;
  ASSERT_EQ(provider->GetClassInfo(coclass.put()), S_OK);
  bool foundSource = false;
  VisitType(coclass.get(), [&](const TYPEATTR& type) {
    EXPECT_TRUE(IsEqualGUID(type.guid, CLSID_INIManager5));
    for (UINT i = 0; i < type.cImplTypes; ++i) {
      INT flags = 0;
      coclass->GetImplTypeFlags(i, &flags);
      if ((flags & IMPLTYPEFLAG_FSOURCE) != 0 && (flags & IMPLTYPEFLAG_FDEFAULT) != 0) {
        HREFTYPE reference = 0;
        coclass->GetRefTypeOfImplType(i, &reference);
        Ref<ITypeInfo> source;
        coclass->GetRefTypeInfo(reference, source.put());
        VisitType(source.get(), [&](const TYPEATTR& events) {
          foundSource = IsEqualGUID(events.guid, DIID___INIManager5) != FALSE;
        });
      }
    }
  });
  EXPECT_TRUE(foundSource);

  Ref<ISupportErrorInfo> errors;
  ASSERT_EQ(manager->QueryInterface(IID_ISupportErrorInfo, errors.putVoid()), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__INIManager), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__clsCommon), S_FALSE);
}

TEST_F(Events, ContainersListTheirPointsAndPointsTheirConnections) {
  auto manager = Make<_INIManager5>(CLSID_INIManager5);
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
  EXPECT_EQ(std::make_pair(first.references(), second.references()), std::make_pair(1ul, 1ul));
}

// Writes through the root object reach the listeners of the facade's shared manager.
TEST_F(Events, TheSharedManagerIsOneObjectWithOneSetOfListeners) {
  auto root = Configured(5, L"client-shared-events.ini");
  Ref<_INIManager5> shared;
  ASSERT_EQ(Make<_CommonFacade>(CLSID_CommonFacade)->get_INI5(shared.put()), S_OK);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(shared.get(), DIID___INIManager5, &sink, point);
  ASSERT_EQ(root->WriteINIValueByKey(Text(L"S").address(), Text(L"K").address(),
                                     Text(L"through the root").address()),
            S_OK);
  EXPECT_EQ(sink.events, std::vector<std::wstring>{L"S K 'through the root'"});
  point->Unadvise(cookie);
}

// ---- objects the host supplies ----

class HostAnchors final : public StackObject<_ILibAnchors> {
 public:
  explicit HostAnchors(bool isReleased) : StackObject(IID__ILibAnchors), released(isReleased) {}
  HRESULT STDMETHODCALLTYPE Add(IDispatch*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Remove(IDispatch*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Released(VARIANT_BOOL* result) override {
    ++asked;
    *result = released ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  bool released;
  int asked = 0;
};

TEST_F(ApartmentTest, HostAnchorsAreAskedWhetherTheyMayBeReplaced) {
  auto facade = Make<_CommonFacade>(CLSID_CommonFacade);
  HostAnchors holding(false);
  HostAnchors released(true);
  const auto stored = [&] {
    Ref<_ILibAnchors> anchors;
    EXPECT_EQ(facade->get_LibAnchors(anchors.put()), S_OK);
    return anchors.get();  // still held by the facade
  };
  ASSERT_EQ(facade->putref_LibAnchors(&holding), S_OK);
  EXPECT_EQ(stored(), static_cast<_ILibAnchors*>(&holding));
  EXPECT_EQ(Number(facade->putref_LibAnchors(&released)), 0x80040001ul);
  EXPECT_EQ(holding.asked, 1);
  EXPECT_EQ(stored(), static_cast<_ILibAnchors*>(&holding));
  EXPECT_EQ(Number(facade->putref_LibAnchors(nullptr)), 0x80040001ul) << "none is no exception";

  // Once released, they may go; the released ones in turn let none take their place.
  holding.released = true;
  ASSERT_EQ(facade->putref_LibAnchors(&released), S_OK);
  ASSERT_EQ(facade->putref_LibAnchors(nullptr), S_OK);
  EXPECT_EQ(stored(), nullptr);
}

TEST_F(ApartmentTest, NullSettingsArraysAreEmptyArrays) {
  auto settings = Make<_IAppSettings>(CLSID_IAppSettings);
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
  EXPECT_EQ(Number(settings->SetLongArray(category.address(), key.address(), &wrongType, nullptr)),
            0x800A000Dul);
  SafeArrayDestroy(wrongType);
}

// A settings store that implements nothing, against the type library's signatures.
class UnusedSettings : public StackObject<_IAppSettings> {
 public:
  UnusedSettings() : StackObject(IID__IAppSettings) {}
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
  QLXW_UNUSED_SETTING(LONG, Long)
  QLXW_UNUSED_SETTING(double, Double)
  QLXW_UNUSED_SETTING(BSTR, String)
  QLXW_UNUSED_SETTING(VARIANT_BOOL, Boolean)
  QLXW_UNUSED_SETTING(SAFEARRAY*, ByteArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, IntegerArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, LongArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, DoubleArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, StringArray)
  QLXW_UNUSED_SETTING(SAFEARRAY*, BooleanArray)
#undef QLXW_UNUSED_SETTING
};

// A host's own settings store: the library keeps it and hands it back, and callers reach it
// early-bound. It records what its callers passed.
class HostSettings final : public UnusedSettings {
 public:
  HRESULT STDMETHODCALLTYPE GetString(BSTR*, BSTR*, BSTR* defaultValue, BSTR* result) override {
    *result = SysAllocString(defaultValue == nullptr ? L"<none>" : *defaultValue);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetLong(BSTR*, BSTR*, LONG* value, VARIANT_BOOL* saveToFile) override {
    saved.push_back(std::to_wstring(*value) + (*saveToFile != VARIANT_FALSE ? L" saved" : L" kept"));
    return S_OK;
  }
  std::vector<std::wstring> saved;
};

TEST_F(ApartmentTest, SettingsAreCalledAndImplementedWithTheirOptionalArguments) {
  Text category(L"C");
  Text key(L"K");
  Text given(L"given");
  LONG value = 7;
  VARIANT_BOOL keep = VARIANT_FALSE;

  // The library's null store: a left-out argument is a null pointer (scripts leave them out late-bound).
  auto library = Make<_IAppSettings>(CLSID_IAppSettings);
  Text read;
  EXPECT_EQ(library->GetString(category.address(), key.address(), nullptr, read.put()), S_OK);
  EXPECT_EQ(library->GetString(category.address(), key.address(), given.address(), read.put()), S_OK);
  EXPECT_EQ(library->SetLong(category.address(), key.address(), &value, nullptr), S_OK);

  // A host's store: handed in, handed back, called early-bound with and without the optional ones.
  HostSettings host;
  auto root = Make<_clsCommon>(CLSID_clsCommon);
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

// Runs `body` on a thread of its own in an apartment of its own, then `after` once the thread left it.
void InOwnApartment(
    const std::function<void()>& body, const std::function<void()>& after = [] {}) {
  std::thread thread([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    body();
    CoUninitialize();
    after();
  });
  thread.join();
}

TEST(Apartments, EachThreadSeesItsOwnLibraryState) {
  LONG otherVersion = 0;
  HRESULT otherResult = S_OK;
  std::wstring otherTitle = L"unset";
  InOwnApartment([&] {
    auto root = Make<_clsCommon>(CLSID_clsCommon);
    root->put_MainVer(5);
    root->put_sAppTitle(Text(L"first thread").address());
    InOwnApartment([&] {
      auto own = Make<_clsCommon>(CLSID_clsCommon);
      otherResult = own->get_MainVer(&otherVersion);
      Text seen;
      own->get_sAppTitle(seen.put());
      otherTitle = seen.str();
    });
  });
  EXPECT_EQ(Number(otherResult), 0x80040003ul);
  EXPECT_EQ(otherTitle, L"");
}

TEST(Apartments, TheStateEndsWithTheApartmentAndDefaultsAreWrittenThen) {
  const std::wstring path = IniPath(L"client-apartment-end.ini");
  bool writtenWhileAlive = true;
  std::wstring written;
  InOwnApartment(
      [&] {
        {
          auto root = Configured(4, L"client-apartment-end.ini");
          Ref<_INIManager> manager;
          root->get_INI(manager.put());
          Text read;
          manager->LoadINIString(Text(L"Defaults").get(), Text(L"AtApartmentEnd").get(), Text(L"yes").get(),
                                 read.put());
        }
        // The objects are gone, the shared manager is not: it belongs to the thread's state.
        writtenWhileAlive = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      [&] {
        wchar_t value[16] = {};
        GetPrivateProfileStringW(L"Defaults", L"AtApartmentEnd", L"", value, 16, path.c_str());
        written = value;
      });
  EXPECT_FALSE(writtenWhileAlive);
  // COM unloads the server from the apartment at its last CoUninitialize: the library leaves the
  // thread then, and the defaults are in the file before the thread ends.
  EXPECT_EQ(written, L"yes");
}

// ---- folders ----

TEST_F(ApartmentTest, FolderControllersThroughTheContract) {
  auto root = Configured(5, L"client-folders.ini");
  auto controller = Make<_clsFileSystemController>(CLSID_clsFileSystemController);
  const std::wstring workspace = TestFolder() + L"\\ClientWorkSpace";
  EnumFoldersPaths index = egsPath_WorkSpace;
  ASSERT_EQ(controller->put_QlxWFolders(&index, Text(workspace).get()), S_OK);
  index = egsPath_Temp;
  Text temp;
  ASSERT_EQ(controller->get_QlxWFolders(&index, temp.put()), S_OK);
  EXPECT_EQ(index, egsPath_Temp);  // by reference, never changed
  EXPECT_EQ(temp.str().rfind(workspace + L"\\", 0), 0u);
  index = static_cast<EnumFoldersPaths>(17);
  EXPECT_EQ(Number(controller->get_QlxWFolders(&index, temp.put())), 0x800A0005ul);

  // The replacer's own interface is empty: hosts reach the contract through QueryInterface.
  auto replacer = Make<IUnknown>(CLSID_FSCReplacer);
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
  SAFEARRAY* folders = nullptr;
  ASSERT_EQ(Make<_FolderManager>(CLSID_FolderManager)->GetSerializables(&folders), S_OK);
  LONG lower = -1;
  LONG upper = -1;
  SafeArrayGetLBound(folders, 1, &lower);
  SafeArrayGetUBound(folders, 1, &upper);
  EXPECT_EQ(lower, 0);
  std::vector<LONG> values;
  for (LONG i = lower; i <= upper; ++i) {
    SafeArrayGetElement(folders, &i, &values.emplace_back());
  }
  SafeArrayDestroy(folders);
  EXPECT_EQ(values, (std::vector<LONG>{egsPath_SaveFolder, egsPath_Template, egsPath_Temp}));
}

TEST_F(ApartmentTest, KeysHandOutTheirRecordsThroughIEnumVARIANT) {
  auto keys = Make<_Keys>(CLSID_Keys);
  Ref<_KeyValue> missing;
  EXPECT_EQ(Number(keys->get_Item(static_cast<EnumFoldersPaths>(17), missing.put())), 0x800A0005ul);
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
  auto keys = Make<_HotKeys>(CLSID_HotKeys);
  ASSERT_EQ(keys->ResetHotKeys(), S_OK);
  short f1 = 112;
  Text layers(L"Layers");
  ASSERT_EQ(keys->SetHotKeyCode(&f1, layers.address()), S_OK);
  EXPECT_EQ(std::make_pair(f1, layers.str()), std::make_pair(short{112}, std::wstring(L"Layers")))
      << "arguments are never changed";
  short position = 33;
  short code = 0;
  ASSERT_EQ(keys->GetKeyCode(&position, &code), S_OK);
  EXPECT_EQ(code, 112);

  position = 0;
  Text name;
  EXPECT_EQ(Outcome(keys->GetFncName(&position, name.put())),
            Failure(0x800A0009ul, L"Subscript out of range"));
  IDispatch* defaults = nullptr;
  EXPECT_EQ(Outcome(keys->get_DefaultKeys(&defaults)),
            Failure(0x800A03E9ul, L"QlxWCommon.HotKeys.DefaultKeys/1"));
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

TEST_F(Events, LocalInfosFontChangesInTheirOrderThenTheLanguageSwitch) {
  auto language = Make<_UILanguage>(CLSID_UILanguage);
  ASSERT_EQ(language->ChangeUILanguage(2057), S_OK);
  auto follower = Make<_ITheme>(CLSID_ITheme);  // takes the runtime's language for the library's texts
  auto info = Make<_LocalInfo>(CLSID_LocalInfo);
  FontEventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(info.get(), DIID___LocalInfo, &sink, point);

  ASSERT_EQ(info->put_FontName(Text(L"Tahoma").get()), S_OK);
  ASSERT_EQ(info->put_FontSize(9.0F), S_OK);
  ASSERT_EQ(info->put_MenuFontSize(11.5F), S_OK);
  ASSERT_EQ(info->put_Charset(238), S_OK);  // no event
  EXPECT_EQ(Outcome(info->put_FontName(Text(L"").get())), Failure(0x800A03E9ul, L"Invalid parameter"));
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

TEST_F(ApartmentTest, TheLocalInfosThemeIsADefaultThemeAPlainIThemeIsNot) {
  auto root = Configured(4, L"client-theme.ini");
  Ref<_ITheme> theme;
  ASSERT_EQ(Make<_LocalInfo>(CLSID_LocalInfo)->get_Theme(theme.put()), S_OK);
  Ref<_DefaultTheme> asDefault;
  EXPECT_EQ(theme->QueryInterface(IID__DefaultTheme, asDefault.putVoid()), S_OK);
  EXPECT_EQ(Make<_ITheme>(CLSID_ITheme)->QueryInterface(IID__DefaultTheme, asDefault.putVoid()),
            E_NOINTERFACE);
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

std::string ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  char buffer[4096] = {};
  DWORD read = 0;
  if (file != INVALID_HANDLE_VALUE) {
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
  }
  return {buffer, read};
}

// run.sh registers a stand-in viewer for .pdf files that serves "Acroview|Control" and writes down
// the commands it receives.
TEST_F(ApartmentTest, HelpCommandsArriveAtTheViewersDdeServer) {
  const std::wstring base = TestFolder();
  const std::wstring pdf = base + L"\\client manual.pdf";
  const std::wstring dictionary = base + L"\\client-help.txt";
  const std::wstring log = base + L"\\dde-commands.txt";
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

  auto debug = Make<_clsDebug>(CLSID_clsDebug);
  Text traceFile(base + L"\\client-help-trace.log");
  DeleteFileW(traceFile.get());
  ASSERT_EQ(debug->put_sLogFileName(traceFile.address()), S_OK);
  VARIANT_BOOL callLog = VARIANT_TRUE;
  ASSERT_EQ(debug->put_bCallLog(&callLog), S_OK);
  auto help = Make<_HelpControl>(CLSID_HelpControl);
  Text viewer;
  ASSERT_EQ(help->GetPDFViewerExeName(Text(pdf).get(), viewer.put()), S_OK)
      << "no viewer registered for .pdf";
  EXPECT_NE(viewer.str().find(L"qlxw_fake_viewer.exe"), std::wstring::npos);

  HostLabel label;
  ASSERT_EQ(help->Init(Text(dictionary).address(), Text(pdf).address(), &label), S_OK);
  const int size = WideCharToMultiByte(CP_UTF8, 0, pdf.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, pdf.c_str(), -1, path.data(), size, nullptr, nullptr);

  // The dictionary's rules as the viewer sees them: the page index each key is sent with.
  for (const auto& [key, pageIndex] :
       {std::pair{L"LAYERS", 11}, std::pair{L"zoom", 2}, std::pair{L"Intro", 0}, std::pair{L"After", 0}}) {
    DeleteFileW(log.c_str());
    VARIANT_BOOL shown = VARIANT_FALSE;
    ASSERT_EQ(help->AcrobatLookup(Text(key).address(), &shown), S_OK);
    EXPECT_EQ(shown, VARIANT_TRUE) << "see client-help-trace.log";
    std::string received;
    for (int i = 0; i < 300 && received.find("DocGoTo") == std::string::npos; ++i) {
      Sleep(20);
      received = ReadBytes(log);
    }
    EXPECT_EQ(received, "[DocOpen(\"" + path + "\")]\r\n[DocGoTo(\"" + path + "\"," +
                            std::to_string(pageIndex) + ")]\r\n");
  }
  callLog = VARIANT_FALSE;
  debug->put_bCallLog(&callLog);
}

}  // namespace
