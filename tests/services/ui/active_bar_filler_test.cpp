// The menu and toolbar filler with fake host objects and resource components registered in the
// process: the program-name rules, what the component receives, the properties set per main version,
// and the failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "api/cls_common.h"
#include "language/localized_strings.h"
#include "os/components.h"
#include "os/type_library.h"
#include "tests/support/folder_test_support.h"
#include "tests/support/type_library_fixture.h"
#include "ui/active_bar_filler.h"

namespace qlxw {
namespace {

using ObjectPtr = std::shared_ptr<AutomationObject>;

// A value as the log shows it; a number in whole digits.
std::string Text(const AutomationValue& value) {
  if (const auto* flag = std::get_if<bool>(&value)) {
    return *flag ? "True" : "False";
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    return *text;
  }
  if (const auto* single = std::get_if<float>(&value)) {
    return std::to_string(static_cast<int>(*single)) + "!";  // "!": a Single, as the control's font takes it
  }
  const auto* number = std::get_if<std::int32_t>(&value);
  return number != nullptr ? std::to_string(*number)
                           : std::to_string(static_cast<int>(std::get<double>(value)));
}

// A host object of named properties; every put is logged as "Owner.Name=value".
class FakeHostObject : public AutomationObject {
 public:
  FakeHostObject(std::string owner, std::vector<std::string>& log) : owner_(std::move(owner)), log_(log) {}
  bool IsForm() const override { return false; }
  AutomationValue GetProperty(std::string_view name) override {
    const auto found = properties.find(std::string(name));
    if (found == properties.end()) {
      RaiseAutomationError(kErrNoSuchMember);
    }
    return found->second;
  }
  void SetProperty(std::string_view name, const AutomationValue& value) override {
    if (refused.contains(std::string(name))) {
      RaiseAutomationError(kErrInvalidProcedureCall);
    }
    log_.push_back(owner_ + std::string(name) + "=" + Text(value));
    properties[std::string(name)] = value;
  }

  std::map<std::string, AutomationValue> properties;
  std::set<std::string> refused;

 private:
  std::string owner_;
  std::vector<std::string>& log_;
};

// A resource component: keeps what its fill method received, or fails as told.
class FakeResourceComponent : public AutomationObject {
 public:
  FakeResourceComponent(std::vector<AutomationValue>& received, const std::optional<LibError>& failure)
      : received_(received), failure_(failure) {}
  bool IsForm() const override { return false; }
  AutomationValue CallFirstMethod(const std::vector<AutomationValue>& arguments) override {
    received_ = arguments;
    if (failure_) {
      throw LibError(*failure_);
    }
    return {};
  }

 private:
  std::vector<AutomationValue>& received_;
  const std::optional<LibError>& failure_;
};

class FixedTheme : public ITheme {
 public:
  FixedTheme(std::int32_t style, bool transparent)
      : ITheme(FollowingLaterChanges{}), style_(style), transparent_(transparent) {}
  using ITheme::MenuStyleId;
  using ITheme::TransparentBands;
  std::int32_t MenuStyleId() const override { return style_; }
  bool TransparentBands() const override { return transparent_; }

 private:
  std::int32_t style_;
  bool transparent_;
};

class ActiveBarFillerTest : public testing::FreshLibraryState {
 protected:
  void SetUp() override {
    FreshLibraryState::SetUp();
    application_->properties = {{"PATH", folder_.Path().string()}, {"EXEName", "Host"}, {"Title", "Térkép"}};
    form_->properties = {{"Name", "frmMain"}};
    bar_->properties = {{"Name", "abMain"}, {"Font", font_}, {"ControlFont", controlFont_}};
    platform::RegisterComponent("HostRes.Core", [this] { return Component(); });
  }
  void TearDown() override {
    platform::UnregisterComponent("HostRes.Core");
    FreshLibraryState::TearDown();
  }

  ObjectPtr Component() { return std::make_shared<FakeResourceComponent>(received_, failure_); }
  static void MainVersion(std::int32_t version) { clsCommon::Create()->MainVer(version); }
  ActiveBarFiller Filler(std::int32_t style = 0, bool transparent = false) {
    info_ = std::make_shared<LocalInfo>([style, transparent]() -> std::shared_ptr<ITheme> {
      return std::make_shared<FixedTheme>(style, transparent);
    });
    info_->FontName("Tahoma");
    info_->MenuFontSize(9);
    info_->UnicodeMenu(true);
    return ActiveBarFiller([this] { return info_; });
  }
  std::string Fill(ActiveBarFiller& filler, const std::string& pattern = {}) {
    return filler.FillActiveBar(application_, form_, bar_, pattern);
  }

  testing::ScratchFolder folder_;
  std::vector<std::string> log_;
  std::shared_ptr<FakeHostObject> application_ = std::make_shared<FakeHostObject>("App.", log_);
  std::shared_ptr<FakeHostObject> form_ = std::make_shared<FakeHostObject>("Form.", log_);
  std::shared_ptr<FakeHostObject> bar_ = std::make_shared<FakeHostObject>("", log_);
  std::shared_ptr<FakeHostObject> font_ = std::make_shared<FakeHostObject>("Font.", log_);
  std::shared_ptr<FakeHostObject> controlFont_ = std::make_shared<FakeHostObject>("ControlFont.", log_);
  std::shared_ptr<LocalInfo> info_;
  std::vector<AutomationValue> received_;
  std::optional<LibError> failure_;
};

// ---- the program name --------------------------------------------------------------------------

const std::string kExeLibrary = testing::ProgramFileBytes(testing::TypeLibraryBytes("ExeLib"));
const std::string kDllLibrary = testing::ProgramFileBytes(testing::TypeLibraryBytes("DllLib"));
const std::string kOcxLibrary = testing::ProgramFileBytes(testing::TypeLibraryBytes("OcxLib"));
const std::string kNoLibrary = testing::ProgramFileBytes("no library", u"REGISTRY");

// The files beside the host, by extension, and the name then: the library's name, EXEName, or a
// failure ("") as the type library read gives it.
TEST_F(ActiveBarFillerTest, ProgramNameFromTheProgramFileOrEXEName) {
  for (const auto& [files, name] : std::vector<std::pair<std::map<std::string, std::string>, std::string>>{
           {{}, "Host"},
           {{{"exe", kExeLibrary}, {"dll", kDllLibrary}}, "ExeLib"},
           {{{"exe", ""}, {"dll", kDllLibrary}}, "Host"},
           {{{"exe", kNoLibrary}}, "Host"},
           {{{"dll", kDllLibrary}, {"ocx", kOcxLibrary}}, "DllLib"},
           {{{"ocx", kOcxLibrary}}, "OcxLib"},
           {{{"dll", kNoLibrary}}, ""},
           {{{"ocx", "MZ"}}, ""}}) {
    for (const char* extension : {"exe", "dll", "ocx"}) {
      std::filesystem::remove(folder_.File(std::string("Host.") + extension));
    }
    for (const auto& [extension, bytes] : files) {
      testing::WriteBytes(folder_.File("Host." + extension), bytes);
    }
    if (name.empty()) {
      EXPECT_EQ(testing::ErrorNumberOf([&] { ProgramName(*application_); }),
                platform::kErrCannotLoadTypeLibrary);
    } else {
      EXPECT_EQ(ProgramName(*application_), name);
    }
  }
}

// ---- the fill call and the control's properties ------------------------------------------------

// The pattern given ("" for the bar's name), and whether the program file names a library: the
// component of the program's name (HostRes.Core, or DllLibRes.Core in any letter case) receives the
// form, the bar, the pattern, the language and the control.
TEST_F(ActiveBarFillerTest, TheProgramsComponentReceivesFormBarPatternLanguageAndTheControlTraced) {
  MainVersion(4);
  platform::RegisterComponent("dlllibres.core", [this] { return Component(); });
  auto filler = Filler();
  // The trace of a fill.
  const std::string trace = testing::TraceOf(folder_.File("trace.log"), [&] { Fill(filler); });
  EXPECT_TRUE(std::regex_match(trace, std::regex("\"ActiveBarFiller\\.FillActivebar>> [^\"]+\"\r\n"
                                                 "\"ActiveBarFiller\\.GetProgramName : Host [^\"]*\"\r\n"
                                                 "\"ActiveBarFiller\\.InitActiveBar \\{ [^\"]*\"\r\n"
                                                 "\" \\} ActiveBarFiller\\.InitActiveBar [^\"]*\"\r\n"
                                                 "\"ActiveBarFiller\\.FillActivebar<< [^\"]*\"\r\n")))
      << trace;
  // The library's current language, whatever it is: a filler takes none when made.
  for (const auto& [given, pattern, library, language] :
       {std::tuple{"", "abMain", false, 0}, std::tuple{"mnuMapEdit", "mnuMapEdit", false, 0},
        std::tuple{"", "abMain", true, kLangEnglishUK}}) {
    if (library) {
      testing::WriteBytes(folder_.File("Host.dll"), kDllLibrary);
      platform::UnregisterComponent("HostRes.Core");
      SetCurrentLanguage(language, "");
    }
    received_.clear();
    EXPECT_EQ(Fill(filler, given), "");
    ASSERT_EQ(received_.size(), 5U);
    EXPECT_EQ(Text(received_[0]), "frmMain");
    EXPECT_EQ(Text(received_[1]), "abMain");
    EXPECT_EQ(Text(received_[2]), pattern);
    EXPECT_EQ(Text(received_[3]), std::to_string(language));
    EXPECT_EQ(std::get<ObjectPtr>(received_[4]), bar_);
  }
  platform::UnregisterComponent("DllLibRes.Core");
}

const std::vector<std::string> kFontsAndNoStyle = {
    "UseUnicode=True", "MenuFontStyle=1", "ControlFont.Name=Tahoma",   "Font.Name=Tahoma",
    "Font.Size=9!",    "ToolbarStyle=0",  "FloatingToolbarFadeDelay=0"};

// Main version, the theme's style and transparency, and the properties set in order: below version 4
// (also a negative one) the fonts and no style whatever the theme says; from 4 on the theme only. A
// filler keeps the main version it first read.
TEST_F(ActiveBarFillerTest, PropertiesByTheFirstMainVersionInOrder) {
  for (const auto& [version, style, transparent, set] :
       std::vector<std::tuple<std::int32_t, std::int32_t, bool, std::vector<std::string>>>{
           {3, 2, true, kFontsAndNoStyle},
           {-5, 2, true, kFontsAndNoStyle},
           {4, 2, true, {"ToolbarStyle=2", "FloatingToolbarFadeDelay=250"}},
           {5, 3, false, {"ToolbarStyle=3", "FloatingToolbarFadeDelay=0"}}}) {
    ResetLibraryState();
    log_.clear();
    MainVersion(version);
    auto filler = Filler(style, transparent);
    Fill(filler);
    EXPECT_EQ(log_, set) << version;
    log_.clear();
    MainVersion(version < 4 ? 5 : 3);
    Fill(filler);
    EXPECT_EQ(log_, set) << version;
  }
}

// ---- failures ----------------------------------------------------------------------------------

TEST_F(ActiveBarFillerTest, FailuresKeepTheNumberAndTellTitleCauseAndId) {
  MainVersion(4);
  auto filler = Filler();
  const auto failure = [&](const std::string& id) {
    return testing::Raised([&] { filler.FillActiveBarExplicit(id, application_, form_, bar_); });
  };
  const LibError notRegistered = failure("NoneRes.Core");
  EXPECT_EQ(notRegistered.Number(), platform::kErrCannotCreateComponent);
  EXPECT_EQ(notRegistered.Description().rfind("A(z) Térkép erőforrás példányosítása sikertelen\r\n", 0), 0U);
  EXPECT_TRUE(notRegistered.Description().ends_with("\r\nProgId: NoneRes.Core"))
      << notRegistered.Description();

  failure_ = LibError(kErrApplicationDefined, "Pattern refused", "HostRes");
  EXPECT_EQ(failure("HostRes.Core").Number(), kErrApplicationDefined);
  EXPECT_EQ(failure("HostRes.Core").Description(),
            "A(z) Térkép menü betötlése sikertelen\r\nPattern refused\r\nProgId: HostRes.Core");
  application_->properties.erase("Title");
  EXPECT_EQ(failure("HostRes.Core").Description(),
            "A(z)  menü betötlése sikertelen\r\nPattern refused\r\nProgId: HostRes.Core");

  // The preparation fails only where its first trace line cannot be written.
  failure_.reset();
  std::optional<LibError> unprepared;
  testing::TraceOf(folder_.File("missing/trace.log"), [&] { unprepared = failure("HostRes.Core"); });
  EXPECT_EQ(unprepared->Number(), kErrPathNotFound);
  EXPECT_EQ(unprepared->Description().rfind("A(z)  menü inicializáslása sikertelen\r\n", 0), 0U);
  EXPECT_TRUE(unprepared->Description().ends_with("\r\nProgId: HostRes.Core"));
}

const std::vector<std::string> kFontsWithoutFade(kFontsAndNoStyle.begin(), kFontsAndNoStyle.end() - 1);

// Main version (0: none set), the bar's properties missing or refused, the properties then set, and
// the end of the last trace line: a failed step ends the preparation quietly.
TEST_F(ActiveBarFillerTest, PreparationFailuresAreTracedAndEndItQuietly) {
  using Names = std::vector<std::string>;
  for (const auto& [version, refused, set, failedTo] :
       std::vector<std::tuple<std::int32_t, Names, Names, std::string>>{
           {0, {}, {}, "query version"},
           {3, {"ControlFont"}, {"UseUnicode=True", "MenuFontStyle=1"}, "query version"},
           {4, {"ToolbarStyle"}, {}, "set dd style"},
           {3, {"FloatingToolbarFadeDelay"}, kFontsWithoutFade, "set dd style"}}) {
    ResetLibraryState();
    log_.clear();
    if (version != 0) {
      MainVersion(version);
    }
    for (const std::string& name : refused) {
      bar_->properties.erase(name);
      bar_->refused.insert(name);
    }
    auto filler = Filler(2, true);
    const std::string trace =
        testing::TraceOf(folder_.File("trace.log"), [&] { EXPECT_EQ(Fill(filler), ""); });
    EXPECT_EQ(log_, set) << version << failedTo;
    EXPECT_NE(trace.find(" } ActiveBarFiller.InitActiveBar FAILED to " + failedTo +
                         "\"\r\n\"ActiveBarFiller.FillActivebar<< "),
              std::string::npos)
        << trace;
    bar_->refused.clear();
    bar_->properties = {{"Name", "abMain"}, {"Font", font_}, {"ControlFont", controlFont_}};
  }
}

}  // namespace
}  // namespace qlxw
