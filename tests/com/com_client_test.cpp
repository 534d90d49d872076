// A host's C++ client of the registered server: early binding through the headers made from the type
// library, events through connection points, error info, and one apartment per thread.
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <gtest/gtest.h>

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

// The description the last failed call left, or "" when it left none.
std::wstring LastErrorDescription() {
  Ref<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || info.get() == nullptr) {
    return {};
  }
  Text description;
  info->GetDescription(description.put());
  return description.str();
}

std::wstring IniPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"\\" + name;
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
};

// ---- the type library's slots, in the order hosts compiled against ----

struct Member {
  const wchar_t* name;
  INVOKEKIND kind;
};
constexpr INVOKEKIND kCall = INVOKE_FUNC;
constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET;
constexpr INVOKEKIND kPut = INVOKE_PROPERTYPUT;
constexpr INVOKEKIND kSet = INVOKE_PROPERTYPUTREF;

std::vector<Member> MembersInSlotOrder(const IID& iid) {
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
  std::vector<std::pair<short, Member>> members;
  std::vector<std::wstring>* names = new std::vector<std::wstring>();  // outlives the result's pointers
  for (WORD i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    info->GetFuncDesc(i, &function);
    Text name;
    UINT count = 0;
    info->GetNames(function->memid, name.put(), 1, &count);
    names->push_back(name.str());
    members.push_back({function->oVft, Member{nullptr, function->invkind}});
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  for (std::size_t i = 0; i < members.size(); ++i) {
    members[i].second.name = (*names)[i].c_str();
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Member> ordered;
  for (const auto& member : members) {
    ordered.push_back(member.second);
  }
  return ordered;
}

void ExpectSlots(const IID& iid, const std::vector<Member>& expected) {
  const std::vector<Member> actual = MembersInSlotOrder(iid);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t slot = 0; slot < expected.size(); ++slot) {
    EXPECT_EQ(std::wstring(actual[slot].name), std::wstring(expected[slot].name)) << "slot " << slot;
    EXPECT_EQ(actual[slot].kind, expected[slot].kind) << "slot " << slot << " " << actual[slot].name;
  }
}

class SlotOrder : public ApartmentTest {};

TEST_F(SlotOrder, INIManagerAsHostsCompiledIt) {
  ExpectSlots(IID__INIManager, {{L"WriteINIBoolean", kCall},
                                {L"LoadINIBoolean", kCall},
                                {L"INIFileName", kPut},
                                {L"WriteINIValueByKey", kCall},
                                {L"LoadINIValueByKey", kCall},
                                {L"gSwapXY", kGet},
                                {L"gAngleMode", kGet},
                                {L"gFirstCoorName", kGet},
                                {L"gSecondCoorName", kGet},
                                {L"LoadINIString", kCall},
                                {L"INIFileName", kGet},
                                {L"TryKeepLayerVisible", kGet},
                                {L"TryKeepLayerVisible", kPut},
                                {L"WarnInvisibleCurrentLayer", kGet},
                                {L"WarnInvisibleCurrentLayer", kPut}});
  ExpectSlots(IID__INIManager5, {{L"AsIniManager", kGet}});
}

TEST_F(SlotOrder, FacadeAnchorsAndTraceSettings) {
  ExpectSlots(IID__CommonFacade,
              {{L"INI", kGet}, {L"INI5", kGet}, {L"LibAnchors", kGet}, {L"LibAnchors", kSet}});
  ExpectSlots(IID__ILibAnchors, {{L"Add", kCall}, {L"Remove", kCall}, {L"Released", kGet}});
  ExpectSlots(IID__clsDebug, {{L"colTraceObj", kGet},
                              {L"sComponentName", kGet},
                              {L"bDebug", kPut},
                              {L"sLogFileName", kPut},
                              {L"bCallLog", kPut},
                              {L"sLogFileName", kGet},
                              {L"bCallLog", kGet}});
}

TEST_F(SlotOrder, RootObject) {
  std::vector<Member> expected;
  for (const wchar_t* field : {L"gsMSG_WriteLog",      L"gsMSG_WriteLogFile",
                               L"gsMSG_WriteStatus",   L"gsMSG_WriteInfoLine",
                               L"gsMSG_ProgressOn",    L"gsMSG_ProgressOff",
                               L"gsMSG_ProgressMin",   L"gsMSG_ProgressMax",
                               L"gsMSG_ProgressVal",   L"gsMSG_ProgressIncr",
                               L"gsMSG_FromDoc",       L"gsMSG_ShowIoMngr",
                               L"gsMSG_DocIsLocked",   L"gsMSG_Createviewwindow",
                               L"gs_MatchingTable",    L"gsMSG_GotoXY",
                               L"gsMSG_UndoName",      L"gsMSG_RedoName",
                               L"gsMSG_ShowInfoTable", L"lMAX_LONG",
                               L"lMIN_LONG",           L"gdPI"}) {
    expected.push_back({field, kGet});
    expected.push_back({field, kPut});
  }
  const std::vector<Member> rest = {{L"lDebugId", kGet},
                                    {L"TearDown", kCall},
                                    {L"sAppTitle", kPut},
                                    {L"sAppTitle", kGet},
                                    {L"oAppFrameForm", kSet},
                                    {L"oAppFrameForm", kGet},
                                    {L"gsMSG_AppendInfoLine", kGet},
                                    {L"gsMSG_AppendInfoLine", kPut},
                                    {L"sAppComment", kPut},
                                    {L"sAppComment", kGet},
                                    {L"LocalInfo", kGet},
                                    {L"INIFileName", kPut},
                                    {L"WriteINIValueByKey", kCall},
                                    {L"LoadINIValueByKey", kCall},
                                    {L"gsMSG_ProjectOnClose", kGet},
                                    {L"gsMSG_ProjectOnClose", kPut},
                                    {L"gSwapXY", kGet},
                                    {L"gFirstCoorName", kGet},
                                    {L"gSecondCoorName", kGet},
                                    {L"INI", kGet},
                                    {L"gAngleMode", kGet},
                                    {L"MainVer", kPut},
                                    {L"MainVer", kGet},
                                    {L"AppSettings", kGet},
                                    {L"AppSettings", kSet}};
  expected.insert(expected.end(), rest.begin(), rest.end());
  ExpectSlots(IID__clsCommon, expected);
}

TEST_F(SlotOrder, SettingsContract) {
  std::vector<Member> expected;
  const wchar_t* types[] = {L"Byte", L"Integer", L"Long", L"Double", L"String", L"Boolean"};
  for (const wchar_t* verb : {L"Get", L"Set", L"Check"}) {
    for (const wchar_t* suffix : {L"", L"Array"}) {
      for (const wchar_t* type : types) {
        expected.push_back({nullptr, kCall});
        auto* name = new std::wstring(std::wstring(verb) + type + suffix);  // kept for the test's life
        expected.back().name = name->c_str();
      }
    }
  }
  ExpectSlots(IID__IAppSettings, expected);
}

// ---- early-bound calls and error info ----

class EarlyBinding : public ApartmentTest {};

TEST_F(EarlyBinding, RootObjectValuesAndLibraryErrors) {
  Ref<_clsCommon> root;
  Create(CLSID_clsCommon, root);
  double pi = 0;
  ASSERT_EQ(root->get_gdPI(&pi), S_OK);
  EXPECT_DOUBLE_EQ(pi, 3.141592653589793);
  LONG smallest = 0;
  ASSERT_EQ(root->get_lMIN_LONG(&smallest), S_OK);
  EXPECT_EQ(smallest, static_cast<LONG>(0x80000000u));

  LONG version = 0;
  EXPECT_EQ(static_cast<unsigned long>(root->get_MainVer(&version)), 0x80040003ul);
  EXPECT_EQ(LastErrorDescription(), L"Main version not initialized!");

  // A small automation number reaches the caller as 0x800A0000 | n.
  Ref<IDispatch> notAForm;
  ASSERT_EQ(
      CoCreateInstance(CLSID_ILibAnchors, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, notAForm.putVoid()),
      S_OK);
  EXPECT_EQ(static_cast<unsigned long>(root->putref_oAppFrameForm(notAForm.get())), 0x800A000Dul);
  EXPECT_EQ(LastErrorDescription(), L"Type mismatch");

  Text blank(L"  ");
  ASSERT_EQ(root->put_MainVer(4), S_OK);
  EXPECT_EQ(static_cast<unsigned long>(root->put_INIFileName(blank.address())), 0x80040001ul);
  EXPECT_EQ(LastErrorDescription(), L"Invalid inifile name!");
}

TEST_F(EarlyBinding, ValuesWrittenByOneObjectAreReadByAnother) {
  Ref<_clsCommon> root;
  Configure(root, 4, L"client-shared.ini");
  Text section(L"Client");
  Text key(L"Key");
  Text value(L"v\u00e1lue");  // survives the 8-bit file in the family's code page
  ASSERT_EQ(root->WriteINIValueByKey(section.address(), key.address(), value.address()), S_OK);
  Ref<_INIManager> manager;
  Create(CLSID_INIManager, manager);
  Text read;
  ASSERT_EQ(manager->LoadINIString(section.get(), key.get(), nullptr, read.put()), S_OK);
  EXPECT_EQ(read.str(), L"v\u00e1lue");
  ::ANGLE_MODE mode = ANGLE_MODE_400;
  ASSERT_EQ(manager->get_gAngleMode(&mode), S_OK);
  EXPECT_EQ(mode, ANGLE_MODE_360);
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

// Records OnWriteValue calls.
class EventSink final : public StackObject<IDispatch> {
 public:
  EventSink() : StackObject(DIID___INIManager5) {}
  struct Event {
    std::wstring section, key;
    VARTYPE type;
    std::wstring text;
    bool flag;
  };
  std::vector<Event> events;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (id != 1 || params->cArgs != 3) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // Last argument first; all by reference.
    const VARIANT& value = *params->rgvarg[0].pvarVal;
    Event event{std::wstring(*params->rgvarg[2].pbstrVal),
                std::wstring(*params->rgvarg[1].pbstrVal),
                value.vt,
                {},
                false};
    if (value.vt == VT_BSTR) {
      event.text = value.bstrVal;
    } else if (value.vt == VT_BOOL) {
      event.flag = value.boolVal != VARIANT_FALSE;
    }
    events.push_back(event);
    return S_OK;
  }
};

class Events : public ApartmentTest {
 protected:
  DWORD Advise(IUnknown* source, EventSink& sink, Ref<IConnectionPoint>& point) {
    Ref<IConnectionPointContainer> container;
    EXPECT_EQ(source->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(DIID___INIManager5, point.put()), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(&sink, &cookie), S_OK);
    return cookie;
  }
};

TEST_F(Events, EveryWriteRaisesOneOnWriteValueWithTheValueAsPassed) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-events.ini");
  Ref<_INIManager5> manager;
  Create(CLSID_INIManager5, manager);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(manager.get(), sink, point);

  Ref<_INIManager> asManager;
  ASSERT_EQ(manager->get_AsIniManager(asManager.put()), S_OK);
  Text section(L"Events");
  Text key(L"Text");
  Text value(L"written");
  ASSERT_EQ(asManager->WriteINIValueByKey(section.address(), key.address(), value.address()), S_OK);
  Text flagKey(L"Flag");
  ASSERT_EQ(asManager->WriteINIBoolean(section.get(), flagKey.get(), VARIANT_TRUE), S_OK);
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].section, L"Events");
  EXPECT_EQ(sink.events[0].key, L"Text");
  EXPECT_EQ(sink.events[0].type, VT_BSTR);
  EXPECT_EQ(sink.events[0].text, L"written");
  EXPECT_EQ(sink.events[1].type, VT_BOOL);
  EXPECT_TRUE(sink.events[1].flag);

  // Reading an unrecognised axis setting writes "False" back: one event.
  Text xy(L"xy");
  Text swap(L"SwapXY");
  Text yes(L"yes");
  ASSERT_EQ(asManager->WriteINIValueByKey(xy.address(), swap.address(), yes.address()), S_OK);
  sink.events.clear();
  VARIANT_BOOL swapped = VARIANT_TRUE;
  ASSERT_EQ(asManager->get_gSwapXY(&swapped), S_OK);
  EXPECT_EQ(swapped, VARIANT_FALSE);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].text, L"False");

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

TEST_F(Events, TheSharedManagerIsOneObjectWithOneSetOfListeners) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-shared-events.ini");
  Ref<_CommonFacade> facade;
  Create(CLSID_CommonFacade, facade);
  Ref<_INIManager5> shared;
  ASSERT_EQ(facade->get_INI5(shared.put()), S_OK);
  EventSink sink;
  Ref<IConnectionPoint> point;
  const DWORD cookie = Advise(shared.get(), sink, point);
  Text section(L"S");
  Text key(L"K");
  Text value(L"through the root");
  ASSERT_EQ(root->WriteINIValueByKey(section.address(), key.address(), value.address()), S_OK);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].text, L"through the root");
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

TEST_F(SlotOrder, FolderControllerContractAndItsImplementations) {
  const std::vector<Member> contract = {
      {L"gsUserName", kGet},        {L"gsUserName", kPut},       {L"lDebugId", kGet},
      {L"TearDown", kCall},         {L"SetDefaultForIx", kCall}, {L"SetDefaults", kCall},
      {L"SaveToRegistry", kCall},   {L"Refresh", kCall},         {L"QlxWHelpFileName", kGet},
      {L"QlxWFolders", kPut},       {L"QlxWFolders", kGet},      {L"gcQLX25FileExt", kGet},
      {L"gcIBNFileExt", kGet},      {L"gcAW2FileExt", kGet},     {L"DefaultWorkspaceRoot", kGet},
      {L"DefaultUserFolder", kGet}, {L"SaveFolder", kGet}};
  ExpectSlots(IID__clsFileSystemController, contract);
  ExpectSlots(IID__clsFSCOld, std::vector<Member>(contract.begin(), contract.begin() + 14));
  ExpectSlots(IID__FSCReplacer, {});
}

TEST_F(SlotOrder, KeysAndFolderManager) {
  ExpectSlots(IID__Keys, {{L"Item", kGet}, {L"Count", kGet}, {L"NewEnum", kGet}});
  ExpectSlots(IID__KeyValue, {{L"Value", kGet}, {L"Key", kGet}});
  ExpectSlots(IID__FolderManager, {{L"Count", kGet},
                                   {L"SetPath", kCall},
                                   {L"AbsolutePath", kGet},
                                   {L"SetDefault", kCall},
                                   {L"GetSerializables", kCall},
                                   {L"SaveToINI", kCall},
                                   {L"LoadFromINI", kCall}});
}

class Folders : public ApartmentTest {};

TEST_F(Folders, ControllersThroughTheContract) {
  Ref<_clsCommon> root;
  Configure(root, 5, L"client-folders.ini");
  Ref<_clsFileSystemController> controller;
  Create(CLSID_clsFileSystemController, controller);
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::wstring workspace = std::wstring(folder) + L"\\ClientWorkSpace";
  EnumFoldersPaths index = egsPath_WorkSpace;
  Text path(workspace.c_str());
  ASSERT_EQ(controller->put_QlxWFolders(&index, path.get()), S_OK);
  index = egsPath_QlxWSystem;
  Text system;
  ASSERT_EQ(controller->get_QlxWFolders(&index, system.put()), S_OK);
  EXPECT_EQ(system.str().rfind(workspace + L"\\", 0), 0u);  // named in the thread's language
  index = egsPath_Temp;
  Text temp;
  ASSERT_EQ(controller->get_QlxWFolders(&index, temp.put()), S_OK);
  EXPECT_EQ(index, egsPath_Temp);  // by reference, never changed
  EXPECT_EQ(temp.str(), system.str() + L"\\Temp");
  EXPECT_NE(GetFileAttributesW(temp.get()), INVALID_FILE_ATTRIBUTES);
  VARIANT_BOOL popup = VARIANT_TRUE;
  VARIANT_BOOL showErr = VARIANT_FALSE;
  Text help;
  ASSERT_EQ(controller->get_QlxWHelpFileName(&popup, &showErr, help.put()), S_OK);
  EXPECT_EQ(help.str(), system.str() + L"\\Help\\QLX3_Help.chm::/CSQLX3_Help.txt");
  index = static_cast<EnumFoldersPaths>(17);
  Text none;
  EXPECT_EQ(static_cast<unsigned long>(controller->get_QlxWFolders(&index, none.put())), 0x800A0005ul);

  Ref<IUnknown> replacer;
  Create(CLSID_FSCReplacer, replacer);
  Ref<_clsFileSystemController> contract;
  ASSERT_EQ(replacer->QueryInterface(IID__clsFileSystemController, contract.putVoid()), S_OK);
  Text extension;
  ASSERT_EQ(contract->get_gcQLX25FileExt(extension.put()), S_OK);
  EXPECT_EQ(extension.str(), L"gdb");
  Ref<_FSCReplacer> own;
  EXPECT_EQ(replacer->QueryInterface(IID__FSCReplacer, own.putVoid()), S_OK);
}

TEST_F(Folders, TheFolderManagersSerializables) {
  Ref<_FolderManager> manager;
  Create(CLSID_FolderManager, manager);
  SAFEARRAY* folders = nullptr;
  ASSERT_EQ(manager->GetSerializables(&folders), S_OK);
  LONG lower = -1;
  LONG upper = -1;
  SafeArrayGetLBound(folders, 1, &lower);
  SafeArrayGetUBound(folders, 1, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  std::vector<LONG> values;
  for (LONG i = lower; i <= upper; ++i) {
    LONG value = 0;
    SafeArrayGetElement(folders, &i, &value);
    values.push_back(value);
  }
  SafeArrayDestroy(folders);
  EXPECT_EQ(values, (std::vector<LONG>{egsPath_SaveFolder, egsPath_Template, egsPath_Temp}));
}

TEST_F(Folders, KeysAreEnumerable) {
  Ref<_Keys> keys;
  Create(CLSID_Keys, keys);
  Ref<_KeyValue> none;
  ASSERT_EQ(keys->get_Item(egsPath_NONE, none.put()), S_OK);
  Text key;
  ASSERT_EQ(none->get_Key(key.put()), S_OK);
  EXPECT_EQ(key.str(), L"None");
  Ref<_KeyValue> missing;
  EXPECT_EQ(static_cast<unsigned long>(keys->get_Item(static_cast<EnumFoldersPaths>(17), missing.put())),
            0x800A0005ul);
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

TEST_F(SlotOrder, HotKeysLocalInfoAndTheme) {
  ExpectSlots(IID__HotKeys, {{L"HotKeyCode", kGet},
                             {L"ResetHotKeys", kCall},
                             {L"SetHotKeyCode", kCall},
                             {L"FunctionCount", kGet},
                             {L"DefaultKeys", kGet},
                             {L"IsFncAssigned", kCall},
                             {L"IsKeyAssigned", kCall},
                             {L"ClearHotKeys", kCall},
                             {L"RemoveFnc", kCall},
                             {L"RemoveKey", kCall},
                             {L"GetFncName", kCall},
                             {L"GetKeyCode", kCall}});
  std::vector<Member> localInfo = {{L"FontName", kPut},
                                   {L"FontName", kGet},
                                   {L"UnicodeMenu", kPut},
                                   {L"UnicodeMenu", kGet},
                                   {L"FontSize", kPut},
                                   {L"FontSize", kGet},
                                   {L"MenuFontSize", kPut},
                                   {L"MenuFontSize", kGet},
                                   {L"ABSABToolTipModData", kSet},
                                   {L"ABSABToolTipModData", kGet},
                                   {L"DefaultFormDC", kPut},
                                   {L"DefaultFormDC", kGet},
                                   {L"Charset", kPut},
                                   {L"Charset", kGet}};
  for (const wchar_t* hook :
       {L"IsMenuToolTipHook", L"IsMenuCaptionHook", L"IsCaptionHook", L"IsMessageHook", L"IsToolTipHook"}) {
    localInfo.push_back({hook, kPut});
    localInfo.push_back({hook, kGet});
  }
  localInfo.push_back({L"UserLocalization", kGet});
  localInfo.push_back({L"UserLocalization", kPut});
  localInfo.push_back({L"Theme", kGet});
  ExpectSlots(IID__LocalInfo, localInfo);
  ExpectSlots(IID__ITheme, {{L"MenuStyleId", kGet},
                            {L"MenuStyleId", kPut},
                            {L"TransparentBands", kGet},
                            {L"TransparentBands", kPut}});
  ExpectSlots(IID__DefaultTheme, {});
  ExpectSlots(IID__HelpControl, {{L"GetPDFViewerExeName", kCall},
                                 {L"AcrobatLookup", kCall},
                                 {L"AcrobatLookupByFile", kCall},
                                 {L"Init", kCall}});
}

class HotKeysEarlyBound : public ApartmentTest {
 protected:
  short CodeOf(_HotKeys* keys, const wchar_t* function) {
    Text name(function);
    short code = 0;
    EXPECT_EQ(keys->get_HotKeyCode(name.address(), &code), S_OK);
    return code;
  }
};

TEST_F(HotKeysEarlyBound, RulesAndErrorsThroughTheVtable) {
  Ref<_HotKeys> keys;
  Create(CLSID_HotKeys, keys);
  Ref<_HotKeys> other;
  Create(CLSID_HotKeys, other);
  ASSERT_EQ(keys->ResetHotKeys(), S_OK);
  LONG count = 0;
  ASSERT_EQ(other->get_FunctionCount(&count), S_OK);
  EXPECT_EQ(count, 34);
  EXPECT_EQ(CodeOf(other.get(), L"uNDO"), 2090);
  short position = 1;
  Text name;
  ASSERT_EQ(keys->GetFncName(&position, name.put()), S_OK);
  EXPECT_EQ(name.str(), L"Help");

  short f1 = 112;
  Text layers(L"Layers");
  ASSERT_EQ(keys->SetHotKeyCode(&f1, layers.address()), S_OK);
  EXPECT_EQ(f1, 112) << "arguments are never changed";
  EXPECT_EQ(CodeOf(keys.get(), L"Help"), -1);
  position = 33;
  short code = 0;
  ASSERT_EQ(keys->GetKeyCode(&position, &code), S_OK);
  EXPECT_EQ(code, 112);
  VARIANT_BOOL assigned = VARIANT_TRUE;
  short r = 82;
  ASSERT_EQ(keys->IsKeyAssigned(&r, &assigned), S_OK);
  EXPECT_EQ(assigned, VARIANT_FALSE);

  position = 0;
  EXPECT_EQ(static_cast<unsigned long>(keys->GetFncName(&position, name.put())), 0x800A0009ul);
  EXPECT_EQ(LastErrorDescription(), L"Subscript out of range");
  IDispatch* defaults = nullptr;
  EXPECT_EQ(static_cast<unsigned long>(keys->get_DefaultKeys(&defaults)), 0x800A03E9ul);
  EXPECT_EQ(defaults, nullptr);
  EXPECT_EQ(LastErrorDescription(), L"QlxWCommon.HotKeys.DefaultKeys/1");
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

class LocalInfoEvents : public ApartmentTest {
 protected:
  DWORD Advise(IUnknown* source, FontEventSink& sink, Ref<IConnectionPoint>& point) {
    Ref<IConnectionPointContainer> container;
    EXPECT_EQ(source->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(DIID___LocalInfo, point.put()), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(&sink, &cookie), S_OK);
    return cookie;
  }
};

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
  const DWORD cookie = Advise(info.get(), sink, point);

  Text tahoma(L"Tahoma");
  ASSERT_EQ(info->put_FontName(tahoma.get()), S_OK);
  ASSERT_EQ(info->put_FontSize(9.0F), S_OK);
  ASSERT_EQ(info->put_MenuFontSize(11.5F), S_OK);
  ASSERT_EQ(info->put_Charset(238), S_OK);  // no event
  Text empty(L"");
  EXPECT_EQ(static_cast<unsigned long>(info->put_FontName(empty.get())), 0x800A03E9ul);
  EXPECT_EQ(LastErrorDescription(), L"Invalid parameter");
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
  const DWORD cookie = Advise(shared.get(), sink, point);

  Ref<IDispatch> again;
  ASSERT_EQ(other->get_LocalInfo(again.put()), S_OK);
  Ref<_LocalInfo> info;
  ASSERT_EQ(again->QueryInterface(IID__LocalInfo, info.putVoid()), S_OK);
  ASSERT_EQ(info->put_FontSize(12.0F), S_OK);
  EXPECT_EQ(sink.events, std::vector<std::wstring>{L"ChangeFontSize 12.000000"});
  point->Unadvise(cookie);
}

TEST_F(LocalInfoEvents, TheThemeIsADefaultThemeKeptInTheIniFile) {
  Ref<_LocalInfo> info;
  Create(CLSID_LocalInfo, info);
  Ref<_ITheme> theme;
  EXPECT_EQ(static_cast<unsigned long>(info->get_Theme(theme.put())), 0x80040003ul);
  EXPECT_EQ(LastErrorDescription(), L"Main version not initialized!");

  Ref<_clsCommon> root;
  Configure(root, 4, L"client-theme.ini");
  ASSERT_EQ(info->get_Theme(theme.put()), S_OK);
  LONG style = 0;
  ASSERT_EQ(theme->get_MenuStyleId(&style), S_OK);
  EXPECT_EQ(style, 3) << "no mod section";
  ASSERT_EQ(theme->put_MenuStyleId(6), S_OK);
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  wchar_t value[16] = {};
  GetPrivateProfileStringW(L"mod", L"Style", L"", value, 16,
                           (std::wstring(folder) + L"\\client-theme.ini").c_str());
  EXPECT_EQ(std::wstring(value), L"6");
  Ref<_DefaultTheme> asDefault;
  EXPECT_EQ(theme->QueryInterface(IID__DefaultTheme, asDefault.putVoid()), S_OK);
  Ref<_ITheme> same;
  ASSERT_EQ(info->get_Theme(same.put()), S_OK);
  EXPECT_EQ(same.get(), theme.get());

  Ref<_ITheme> plain;
  Create(CLSID_ITheme, plain);
  EXPECT_EQ(plain->QueryInterface(IID__DefaultTheme, asDefault.putVoid()), E_NOINTERFACE);
  ASSERT_EQ(plain->put_MenuStyleId(6), S_OK);
  ASSERT_EQ(plain->get_MenuStyleId(&style), S_OK);
  EXPECT_EQ(style, 0);
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
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::wstring base(folder);
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
