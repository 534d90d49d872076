// A host's C++ client of the registered server: early and late binding, error info as callers receive
// it, events through connection points, and the library's state ending with the apartment.
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "QlxWCommon_h.h"

namespace {

using Microsoft::WRL::ComPtr;

template <class T>
ComPtr<T> Make(const CLSID& classId) {
  ComPtr<T> object;
  if (CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(object.GetAddressOf())) != S_OK) {
    throw std::runtime_error("CoCreateInstance failed");
  }
  return object;
}

// A text the call may read by value or by reference: Text(L"x").address() lives through the call.
class Text {
 public:
  explicit Text(const std::wstring& text)
      : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Text() = default;
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

// A call's HRESULT with the source and description of the error info it left.
using Outcome = std::tuple<unsigned long, std::wstring, std::wstring>;

Outcome OutcomeOf(HRESULT result) {
  ComPtr<IErrorInfo> info;
  Text source;
  Text description;
  if (GetErrorInfo(0, info.GetAddressOf()) == S_OK && info != nullptr) {
    info->GetSource(source.put());
    info->GetDescription(description.put());
  }
  return {static_cast<unsigned long>(result), source.str(), description.str()};
}

std::wstring TestPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return std::wstring(folder) + L"\\" + name;
}

// A root object with a main version and a fresh INI file.
ComPtr<_clsCommon> Configured(long mainVersion, const wchar_t* iniName) {
  auto root = Make<_clsCommon>(CLSID_clsCommon);
  DeleteFileW(TestPath(iniName).c_str());
  EXPECT_EQ(root->put_MainVer(mainVersion), S_OK);
  EXPECT_EQ(root->put_INIFileName(Text(TestPath(iniName)).address()), S_OK);
  return root;
}

// Each test in an apartment of its own: the server leaves it, and the library the thread, at its end.
class ApartmentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  static DWORD Advise(IUnknown* source, const IID& events, IDispatch* sink, ComPtr<IConnectionPoint>& point) {
    ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(source->QueryInterface(IID_PPV_ARGS(container.GetAddressOf())), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(events, point.ReleaseAndGetAddressOf()), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
    return cookie;
  }
};

// A host-side object on the test's stack: reference counts are kept (the tests read them) but never
// free it. Answers IUnknown, IDispatch and `also`; calls arrive at `OnInvoke`.
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
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return OnInvoke(id, *params);
  }
  virtual HRESULT OnInvoke(DISPID /*id*/, const DISPPARAMS& /*params*/) { return S_OK; }
  ULONG references() const { return references_; }

 private:
  IID also_;
  ULONG references_ = 1;
};

// ---- errors as callers receive them ----

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

// The library's numbers stay as they are, a small automation number n arrives as 0x800A0000 | n; the
// source is the object the error names (the INI managers), else the component, or the class when the
// error names none at all.
TEST_F(ApartmentTest, ErrorsArriveAsHresultsWithSourceAndDescription) {
  auto root = Make<_clsCommon>(CLSID_clsCommon);
  auto keys = Make<_HotKeys>(CLSID_HotKeys);
  auto settings = Make<_IAppSettings>(CLSID_IAppSettings);
  auto facade = Make<_CommonFacade>(CLSID_CommonFacade);
  IDispatch* defaults = nullptr;
  LONG version = 0;
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 1);
  HostAnchors holding(false);
  HostAnchors released(true);
  ASSERT_EQ(facade->putref_LibAnchors(&holding), S_OK);
  const std::vector<std::pair<std::function<HRESULT()>, Outcome>> calls = {
      {[&] { return root->get_MainVer(&version); },
       {0x80040003ul, L"QlxWCommon", L"Main version not initialized!"}},
      {[&] { return keys->get_DefaultKeys(&defaults); },
       {0x800A03E9ul, L"QlxWCommon.HotKeys", L"QlxWCommon.HotKeys.DefaultKeys/1"}},
      {[&] { return settings->SetLongArray(Text(L"C").address(), Text(L"K").address(), &texts, nullptr); },
       {0x800A000Dul, L"QlxWCommon", L"Type mismatch"}},
      // The host's anchors are asked whether they may go; none is no exception.
      {[&] { return facade->putref_LibAnchors(&released); }, {0x80040001ul, L"QlxWCommon", L""}},
      {[&] { return facade->putref_LibAnchors(nullptr); }, {0x80040001ul, L"QlxWCommon", L""}},
      {[&] { return root->put_MainVer(5); }, {S_OK, L"", L""}},
      {[&] { return root->put_INIFileName(Text(TestPath(L"client-errors.ini")).address()); },
       {S_OK, L"", L""}},
      {[&] { return root->put_INIFileName(Text(TestPath(L"client-other.ini")).address()); },
       {0x80040003ul, L"QlxWCommon.INIManager5", L"Error! ini-File path modifications are forbidden!"}},
  };
  ASSERT_EQ(Make<_UILanguage>(CLSID_UILanguage)->ChangeUILanguage(2057), S_OK);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(OutcomeOf(calls[i].first()), calls[i].second) << "call " << i;
  }
  SafeArrayDestroy(texts);
  EXPECT_EQ(defaults, nullptr);
  EXPECT_EQ(holding.asked, 2);
  ComPtr<_ILibAnchors> stored;
  ASSERT_EQ(facade->get_LibAnchors(stored.GetAddressOf()), S_OK);
  EXPECT_EQ(stored.Get(), static_cast<_ILibAnchors*>(&holding)) << "handed back as it came";
  stored.Reset();
  holding.released = true;
  ASSERT_EQ(facade->putref_LibAnchors(nullptr), S_OK);
  EXPECT_EQ(holding.references(), 1u) << "the library let the host's anchors go";

  ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(Make<IUnknown>(CLSID_INIManager5).As(&errors), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__INIManager), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__clsCommon), S_FALSE);
}

// ---- late binding ----

// Calls `names[0]` late-bound, the other names naming its arguments (`args`, the last one first).
HRESULT Call(IDispatch* object, std::vector<std::wstring> names, WORD flags, std::vector<VARIANT>& args,
             VARIANT* result) {
  std::vector<LPOLESTR> pointers(names.size());
  std::transform(names.begin(), names.end(), pointers.begin(),
                 [](std::wstring& name) { return name.data(); });
  std::vector<DISPID> ids(names.size());
  const HRESULT found = object->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()),
                                              LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(found)) {
    return found;
  }
  std::vector<DISPID> named(ids.begin() + 1, ids.end());
  DISPPARAMS params{args.data(), named.data(), static_cast<UINT>(args.size()),
                    static_cast<UINT>(named.size())};
  return object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

TEST_F(ApartmentTest, LateBoundCallsInTheFormsHostsUse) {
  auto root = Configured(5, L"client-late-bound.ini");
  auto manager = Make<IDispatch>(CLSID_INIManager5);
  Text section(L"S");
  Text key(L"Key");
  Text fallback(L"fallback");
  Text typed(L"written");
  const auto text = [](const Text& value) {
    VARIANT argument{};
    argument.vt = VT_BSTR;
    argument.bstrVal = value.get();
    return argument;
  };
  VARIANT variable{};  // a typed variable of the host, as a reference
  variable.vt = VT_BYREF | VT_BSTR;
  variable.pbstrVal = typed.address();
  VARIANT missing{};
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  const WORD method = DISPATCH_METHOD;
  IDispatch* const common = root.Get();
  auto keys = Make<IDispatch>(CLSID_Keys);
  ComPtr<IDispatch> traces;
  ASSERT_EQ(Make<_clsDebug>(CLSID_clsDebug)->get_colTraceObj(traces.GetAddressOf()), S_OK);
  const std::vector<std::wstring> byName = {L"LoadINIString", L"Section", L"Key", L"Default"};
  const struct {
    IDispatch* object;
    std::vector<std::wstring> names;
    std::vector<VARIANT> args;
    const wchar_t* value;  // the text returned, if one is
    WORD flags;
    VARTYPE type;  // of the result
  } rows[] = {
      // A read asked as a property get, a method or both; the enumerator of every collection too.
      {common, {L"gdPI"}, {}, nullptr, DISPATCH_PROPERTYGET, VT_R8},
      {common, {L"gdPI"}, {}, nullptr, method, VT_R8},
      {keys.Get(), {L"NewEnum"}, {}, nullptr, method, VT_UNKNOWN},
      {keys.Get(), {L"NewEnum"}, {}, nullptr, DISPATCH_PROPERTYGET, VT_UNKNOWN},
      {traces.Get(), {L"_NewEnum"}, {}, nullptr, DISPATCH_PROPERTYGET, VT_UNKNOWN},
      // Texts by value for by-reference parameters: the caller's texts must outlive the call.
      {common, {L"WriteINIValueByKey"}, {variable, text(key), text(section)}, nullptr, method, VT_EMPTY},
      {common, {L"LoadINIValueByKey"}, {text(key), text(section)}, L"written", method, VT_BSTR},
      // On the manager's second interface: an optional argument marked missing, then all by name in an
      // order of their own.
      {manager.Get(), {L"LoadINIBoolean"}, {missing, text(key), text(section)}, nullptr, method, VT_BOOL},
      {manager.Get(), byName, {text(section), text(fallback), text(fallback)}, L"fallback", method, VT_BSTR},
  };
  for (const auto& row : rows) {
    VARIANT result{};
    std::vector<VARIANT> args = row.args;
    EXPECT_EQ(Call(row.object, row.names, row.flags, args, &result), S_OK) << row.names[0];
    // Arguments are the caller's: not even a by-reference parameter given a value writes over them.
    EXPECT_EQ(std::memcmp(args.data(), row.args.data(), args.size() * sizeof(VARIANT)), 0) << row.names[0];
    EXPECT_EQ(result.vt, row.type) << row.names[0];
    if (row.value != nullptr && result.vt == VT_BSTR) {
      EXPECT_EQ(std::wstring(result.bstrVal, SysStringLen(result.bstrVal)), row.value) << row.names[0];
    }
    VariantClear(&result);
  }
  EXPECT_EQ(typed.str(), L"written") << "a reference is only read";
}

// ---- events ----

// Records events as "id: arguments", each as it came: "&" when by reference, its type, its value.
class EventSink final : public StackObject<IDispatch> {
 public:
  explicit EventSink(const IID& source) : StackObject(source) {}
  std::vector<std::wstring> events;

  HRESULT OnInvoke(DISPID id, const DISPPARAMS& params) override {
    std::wstring event = std::to_wstring(id) + L":";
    for (UINT i = params.cArgs; i-- > 0;) {
      VARIANT& argument = params.rgvarg[i];
      VARIANT shown{};
      VariantCopyInd(&shown, argument.vt == (VT_BYREF | VT_VARIANT) ? argument.pvarVal : &argument);
      static std::map<int, std::wstring> types{
          {VT_BSTR, L"String"}, {VT_R4, L"Single"}, {VT_VARIANT, L"Variant"}};
      event += ((argument.vt & VT_BYREF) != 0 ? L" &" : L" ") + types[argument.vt & VT_TYPEMASK];
      if (VariantChangeTypeEx(&shown, &shown, LOCALE_INVARIANT, VARIANT_ALPHABOOL, VT_BSTR) == S_OK) {
        event += L" " + std::wstring(shown.bstrVal);
      }
      VariantClear(&shown);
    }
    events.push_back(event);
    return S_OK;
  }
};

// The shared manager is one object: writes through the root reach its listeners, as writes through
// itself do.
TEST_F(ApartmentTest, WritesRaiseOnWriteValueUntilTheListenerLeaves) {
  auto root = Configured(5, L"client-events.ini");
  ComPtr<_INIManager5> shared;
  ASSERT_EQ(Make<_CommonFacade>(CLSID_CommonFacade)->get_INI5(shared.GetAddressOf()), S_OK);
  EventSink sink(DIID___INIManager5);
  ComPtr<IConnectionPoint> point;
  const DWORD cookie = Advise(shared.Get(), DIID___INIManager5, &sink, point);
  ComPtr<_INIManager> manager;
  ASSERT_EQ(shared->get_AsIniManager(manager.GetAddressOf()), S_OK);
  Text section(L"S");
  Text key(L"K");
  ASSERT_EQ(root->WriteINIValueByKey(section.address(), key.address(), Text(L"text").address()), S_OK);
  ASSERT_EQ(manager->WriteINIBoolean(section.get(), key.get(), VARIANT_TRUE), S_OK);
  EXPECT_EQ(sink.events, (std::vector<std::wstring>{L"1: &String S &String K &Variant text",
                                                    L"1: &String S &String K &Variant True"}));

  {  // The enumerators of points and connections, as event bridges walk them (they hold the listener).
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(shared.As(&container), S_OK);
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.GetAddressOf()), S_OK);
    ComPtr<IConnectionPoint> listed[2];
    ULONG count = 0;
    EXPECT_EQ(points->Next(2, listed[0].GetAddressOf(), &count), S_FALSE);
    EXPECT_EQ(count, 1U);
    ComPtr<IEnumConnections> connections;
    ComPtr<IEnumConnections> clone;
    ASSERT_EQ(point->EnumConnections(connections.GetAddressOf()), S_OK);
    ASSERT_EQ(connections->Clone(clone.GetAddressOf()), S_OK);
    CONNECTDATA data{};
    ASSERT_EQ(clone->Next(1, &data, nullptr), S_OK);
    EXPECT_EQ(data.dwCookie, cookie);
    data.pUnk->Release();
    EXPECT_EQ(connections->Skip(1), S_OK);
    EXPECT_EQ(connections->Next(1, &data, &count), S_FALSE);
  }

  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  ASSERT_EQ(manager->WriteINIBoolean(section.get(), key.get(), VARIANT_FALSE), S_OK);
  EXPECT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(sink.references(), 1u) << "the connection released the listener";

  ComPtr<_LocalInfo> info;  // the root hands out the shared one as its own interface, no query needed
  ASSERT_EQ(root->get_LocalInfo(info.GetAddressOf()), S_OK);
  EventSink fonts(DIID___LocalInfo);
  Advise(info.Get(), DIID___LocalInfo, &fonts, point);
  ASSERT_EQ(info->put_FontName(Text(L"Tahoma").get()), S_OK);
  ASSERT_EQ(info->put_MenuFontSize(11.5F), S_OK);
  EXPECT_EQ(fonts.events, (std::vector<std::wstring>{L"1: &String Tahoma", L"3: &Single 11.5"}));
}

// ---- interfaces, arrays and arguments ----

// A class with two interfaces hands out either; one with one only its own. Script hosts find the event
// interface through the class information.
TEST_F(ApartmentTest, ClassesAnswerTheirInterfacesOnlyAndNameTheirEvents) {
  auto manager = Make<_INIManager5>(CLSID_INIManager5);
  ComPtr<IProvideClassInfo> provider;
  ASSERT_EQ(manager.As(&provider), S_OK);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(provider->GetClassInfo(coclass.GetAddressOf()), S_OK);
  TYPEATTR* type = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&type), S_OK);
  EXPECT_TRUE(IsEqualGUID(type->guid, CLSID_INIManager5));
  IID source = IID_NULL;
  for (UINT i = 0; i < type->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> implemented;
    TYPEATTR* attributes = nullptr;
    if (coclass->GetImplTypeFlags(i, &flags) == S_OK &&
        flags == (IMPLTYPEFLAG_FSOURCE | IMPLTYPEFLAG_FDEFAULT) &&
        coclass->GetRefTypeOfImplType(i, &reference) == S_OK &&
        coclass->GetRefTypeInfo(reference, implemented.GetAddressOf()) == S_OK &&
        implemented->GetTypeAttr(&attributes) == S_OK) {
      source = attributes->guid;
      implemented->ReleaseTypeAttr(attributes);
    }
  }
  coclass->ReleaseTypeAttr(type);
  EXPECT_TRUE(IsEqualIID(source, DIID___INIManager5));
  auto root = Configured(4, L"client-interfaces.ini");  // a theme is read when made
  const struct {
    const CLSID& classId;
    const IID& iid;
    HRESULT expected;
  } rows[] = {
      {CLSID_FSCReplacer, IID__FSCReplacer, S_OK}, {CLSID_FSCReplacer, IID__clsFileSystemController, S_OK},
      {CLSID_INIManager5, IID__INIManager, S_OK},  {CLSID_INIManager, IID__INIManager5, E_NOINTERFACE},
      {CLSID_DefaultTheme, IID__ITheme, S_OK},     {CLSID_ITheme, IID__DefaultTheme, E_NOINTERFACE},
  };
  for (const auto& row : rows) {
    ComPtr<IUnknown> answered;
    EXPECT_EQ(Make<IUnknown>(row.classId)
                  ->QueryInterface(row.iid, reinterpret_cast<void**>(answered.GetAddressOf())),
              row.expected);
  }
}

// Script engines index only arrays of variants: the typed arrays are read here. Left-out optional
// arguments of early-bound calls are null pointers, by-reference ones are read and never written.
TEST_F(ApartmentTest, TypedArraysAndArgumentsByReference) {
  SAFEARRAY* folders = nullptr;
  ASSERT_EQ(Make<_FolderManager>(CLSID_FolderManager)->GetSerializables(&folders), S_OK);
  VARTYPE type = VT_EMPTY;
  SafeArrayGetVartype(folders, &type);
  const auto* values = static_cast<const LONG*>(folders->pvData);
  EXPECT_EQ(std::make_tuple(type, folders->rgsabound[0].lLbound,
                            std::vector<LONG>(values, values + folders->rgsabound[0].cElements)),
            std::make_tuple(VARTYPE{VT_I4}, 0L,
                            std::vector<LONG>{egsPath_SaveFolder, egsPath_Template, egsPath_Temp}));
  SafeArrayDestroy(folders);

  auto settings = Make<_IAppSettings>(CLSID_IAppSettings);
  Text category(L"C");
  Text key(L"K");
  SAFEARRAY* defaults = SafeArrayCreateVector(VT_R8, 0, 2);
  SAFEARRAY* result = nullptr;
  ASSERT_EQ(settings->GetDoubleArray(category.address(), key.address(), &defaults, &result), S_OK);
  ASSERT_NE(result, nullptr) << "an empty array, not none";
  EXPECT_EQ(result->rgsabound[0].cElements, 0u);
  SafeArrayDestroy(result);
  SafeArrayDestroy(defaults);
  Text read;
  LONG value = 7;
  EXPECT_EQ(settings->GetString(category.address(), key.address(), nullptr, read.put()), S_OK);
  EXPECT_EQ(settings->SetLong(category.address(), key.address(), &value, nullptr), S_OK);

  auto keys = Make<_HotKeys>(CLSID_HotKeys);
  ASSERT_EQ(keys->ResetHotKeys(), S_OK);
  short f1 = 112;
  Text layers(L"Layers");
  ASSERT_EQ(keys->SetHotKeyCode(&f1, layers.address()), S_OK);
  EXPECT_EQ(std::make_pair(f1, layers.str()), std::make_pair(short{112}, std::wstring(L"Layers")));
  auto root = Configured(5, L"client-by-reference.ini");
  EnumFoldersPaths index = egsPath_Temp;
  ASSERT_EQ(
      Make<_clsFileSystemController>(CLSID_clsFileSystemController)->get_QlxWFolders(&index, read.put()),
      S_OK);
  EXPECT_EQ(index, egsPath_Temp);
}

// ---- the library's state and the apartment ----

TEST(Apartments, TheStateEndsWithTheApartmentAndDefaultsAreWrittenThen) {
  const std::wstring path = TestPath(L"client-apartment-end.ini");
  bool writtenWhileAlive = true;
  wchar_t written[16] = {};
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      auto root = Configured(4, L"client-apartment-end.ini");
      ComPtr<_INIManager> manager;
      root->get_INI(manager.GetAddressOf());
      Text read;
      manager->LoadINIString(Text(L"Defaults").get(), Text(L"AtApartmentEnd").get(), Text(L"yes").get(),
                             read.put());
    }
    // The objects are gone, the shared manager is not: it belongs to the thread's state.
    writtenWhileAlive = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    // COM unloads the server from the apartment at its last CoUninitialize: the library leaves the
    // thread then, and the defaults are in the file before the thread ends.
    CoUninitialize();
    GetPrivateProfileStringW(L"Defaults", L"AtApartmentEnd", L"", written, 16, path.c_str());
  }).join();
  EXPECT_FALSE(writtenWhileAlive);
  EXPECT_EQ(std::wstring(written), L"yes");
}

// ---- PDF help through DDE ----

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
};

// run.sh registers a stand-in viewer for .pdf files that serves "Acroview|Control" and writes down
// the commands it receives.
TEST_F(ApartmentTest, HelpCommandsArriveAtTheViewersDdeServer) {
  const std::filesystem::path pdf = TestPath(L"client manual.pdf");
  const std::filesystem::path log = TestPath(L"dde-commands.txt");
  std::ofstream(pdf, std::ios::binary) << "%PDF-1.4\n";
  std::ofstream(std::filesystem::path(TestPath(L"client-help.txt")), std::ios::binary)
      << "Intro\r\nLayers,12\r\n";
  std::filesystem::remove(log);
  auto help = Make<_HelpControl>(CLSID_HelpControl);
  Text viewer;
  ASSERT_EQ(help->GetPDFViewerExeName(Text(pdf.wstring()).get(), viewer.put()), S_OK) << "no viewer for .pdf";
  EXPECT_NE(viewer.str().find(L"qlxw_fake_viewer.exe"), std::wstring::npos);
  HostLabel label;
  ASSERT_EQ(help->Init(Text(TestPath(L"client-help.txt")).address(), Text(pdf.wstring()).address(), &label),
            S_OK);
  VARIANT_BOOL shown = VARIANT_FALSE;
  ASSERT_EQ(help->AcrobatLookup(Text(L"Layers").address(), &shown), S_OK);
  EXPECT_EQ(shown, VARIANT_TRUE);
  std::string received;
  for (int i = 0; i < 300 && received.find("DocGoTo") == std::string::npos; ++i) {
    Sleep(20);
    std::ifstream file(log, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  const std::string path = reinterpret_cast<const char*>(pdf.u8string().c_str());
  EXPECT_EQ(received, "[DocOpen(\"" + path + "\")]\r\n[DocGoTo(\"" + path + "\",11)]\r\n");
}

}  // namespace
