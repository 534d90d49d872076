// Both INI managers, driven as a host drives them: through the root object and the shared manager.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "api/cls_common.h"
#include "api/common_facade.h"
#include "config/ini_file.h"
#include "config/ini_manager.h"
#include "config/ini_manager5.h"
#include "config/shared_ini.h"
#include "language/localized_strings.h"
#include "os/file_calls.h"
#include "profile/profile.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

class IniManagers : public testing::FreshLibraryState {
 protected:
  // A host of the given main version with the scratch file as its INI file. The manager is the
  // thread's: tests hold no reference of their own, so that it ends when the host does.
  INIManagerInterface& Host(std::int32_t mainVersion, const std::string& content = {}) {
    testing::WriteBytes(file_, content);
    SetCurrentLanguage(kLangHungarian, {});
    root_ = clsCommon::Create();
    root_->MainVer(mainVersion);
    root_->INIFileName(file_);
    return *root_->INI();
  }

  // The file after the host ends (its managers write their defaults back).
  std::string AfterEnd() {
    root_.reset();
    ResetLibraryState();
    return testing::ReadBytes(file_);
  }

  testing::ScratchFolder folder_;
  std::string file_ = folder_.File("host.ini");
  std::shared_ptr<clsCommon> root_;
};

TEST_F(IniManagers, MainVersionChoosesTheManagerOnce) {
  Host(5);
  ASSERT_NE(GetSharedINI5(), nullptr);
  EXPECT_EQ(GetSharedINI5()->AsIniManager(), root_->INI());
  root_->MainVer(3);
  EXPECT_NE(GetSharedINI5(), nullptr);
  ResetLibraryState();
  Host(-1);
  EXPECT_EQ(GetSharedINI5(), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<INIManager>(root_->INI()), nullptr);
}

TEST_F(IniManagers, EveryAccessNeedsTheMainVersion) {
  const auto root = clsCommon::Create();
  for (const std::function<void()>& access : std::vector<std::function<void()>>{
           [&] { root->LoadINIValueByKey("S", "k"); }, [&] { root->INIFileName(file_); },
           [&] { root->INI(); }, [] { CommonFacade().INI5(); }}) {
    EXPECT_EQ(testing::ErrorNumberOf(access), kLibErrNotInitialized);
  }
  root->MainVer(4);
  EXPECT_EQ(CommonFacade().INI5(), nullptr);
}

TEST_F(IniManagers, FileNameIsSetOnce) {
  auto& ini = Host(5);
  EXPECT_NO_THROW(root_->INIFileName(folder_.File("HOST.INI")));  // same name, other case
  const LibError error = testing::Raised([&] { root_->INIFileName(folder_.File("other.ini")); });
  EXPECT_EQ(error.Number(), kLibErrNotInitialized);
  EXPECT_EQ(error.Description(), "Hiba! Az ini-fájl útvonala nem változtatható!");
  EXPECT_EQ(error.Source(), "QlxWCommon.INIManager5");
  EXPECT_EQ(ini.INIFileName(), file_);
  EXPECT_EQ(testing::ErrorNumberOf([] { SetINIFileNameOnce("x.ini"); }), kLibErrRepeatedOrBadData);
}

TEST_F(IniManagers, NamesNoFileCanHaveFailAndLeaveRoomForAGoodOne) {
  const auto root = clsCommon::Create();
  root->MainVer(4);
  std::vector<std::string> badNames = {"  ", std::string("a\0b.ini", 7), std::string("\0", 1)};
#ifdef _WIN32
  badNames.insert(badNames.end(), {"a|b.ini", "C:\\x\\?.ini", "tab\t.ini", "<a>.ini"});
#endif
  for (const std::string& name : badNames) {
    EXPECT_EQ(testing::ErrorNumberOf([&] { root->INIFileName(name); }), kLibErrInvalidArgument) << name;
    EXPECT_EQ(GetINIFileName(), "");
  }
  root->INIFileName(file_);
  EXPECT_EQ(GetINIFileName(), file_);
}

// A manager writes back at its end the defaults it read (manager 5 only for absent or empty values),
// but not over a key the host wrote since.
TEST_F(IniManagers, DefaultsReadAreWrittenBackAtTheEnd) {
  auto& four = Host(4, "[S]\r\nkept=1\r\n");
  EXPECT_EQ(four.LoadINIValueByKey("S", "plain"), "NULL");
  EXPECT_EQ(four.LoadINIString("S", "text", "dflt"), "dflt");
  EXPECT_EQ(four.LoadINIString("S", "empty"), "");
  EXPECT_EQ(std::get<bool>(four.LoadINIBoolean("T", "flag", true)), true);
  EXPECT_EQ(AfterEnd(), "[S]\r\nkept=1\r\ntext=dflt\r\nempty=\r\n[T]\r\nflag=true\r\n");
  auto& five = Host(5, "[S]\r\nempty=\r\nset=v\r\n");
  EXPECT_EQ(five.LoadINIString("S", "empty", "d"), "d");
  EXPECT_EQ(five.LoadINIString("S", "none", ""), "");
  EXPECT_EQ(five.LoadINIString("S", "set", "other"), "v");
  EXPECT_EQ(AfterEnd(), "[S]\r\nempty=d\r\nset=v\r\n");
  for (const std::int32_t version : {4, 5}) {
    auto& ini = Host(version);
    ini.LoadINIString("S", "a", "default");
    ini.LoadINIBoolean("S", "b", false);
    ini.WriteINIValueByKey("S", std::string("a"), std::string("written"));
    ini.WriteINIBoolean("S", "b", true);
    EXPECT_EQ(AfterEnd(), "[S]\r\na=written\r\nb=true\r\n") << version;
  }
}

TEST_F(IniManagers, ManagerRewritesAValueThatDiffersOnlyInCase) {
  auto& ini = Host(4, "[S]\r\nk=DEFAULT ; note\r\n");
  EXPECT_EQ(ini.LoadINIString("S", "k", "default"), "DEFAULT ");
  EXPECT_EQ(AfterEnd(), "[S]\r\nk=DEFAULT ; note\r\n");  // "DEFAULT " is not "default": nothing registered
  auto& again = Host(4, "[S]\r\nk=DEFAULT;note\r\n");
  EXPECT_EQ(again.LoadINIString("S", "k", "default"), "DEFAULT");
  EXPECT_EQ(AfterEnd(), "[S]\r\nk=default\r\n");
}

TEST_F(IniManagers, Manager5ReadsUpTo1023Characters) {
  std::string content = "[S]\r\n";
  for (const std::size_t length : {31U, 32U, 63U, 300U, 511U, 1023U, 1024U, 5000U}) {
    content += "k" + std::to_string(length) + "=" + std::string(length, 'v') + "\r\n";
  }
  auto& ini = Host(5, content);
  for (const std::size_t length : {31U, 32U, 63U, 300U, 511U, 1023U}) {
    EXPECT_EQ(ini.LoadINIValueByKey("S", "k" + std::to_string(length)).size(), length);
  }
  for (const auto& [key, reported] :
       std::vector<std::pair<std::string, std::string>>{{"k1024", "1024"}, {"k5000", "2047"}}) {
    const LibError error = testing::Raised([&, key = key] { ini.LoadINIString("S", key, "d"); });
    EXPECT_EQ(error.Number(), kLibErrRepeatedOrBadData);
    EXPECT_EQ(error.Description(), "LoadINIValueByKey2 data size error  |S." + key + "|=" + reported);
    EXPECT_EQ(error.Source(), "QlxWCommon.INIManager5");
  }
  EXPECT_TRUE(IsEmpty(ini.LoadINIBoolean("S", "k1024", true)));  // swallowed: Empty
}

// The manager cuts at 254 characters and cuts tabs (the cuts themselves: ini_values_test).
TEST_F(IniManagers, Manager5DiffersFromManager) {
  const std::string v254(254, 'x');
  const std::string content = "[S]\r\nt=abc\tdef\r\nm=" + v254 + "y\r\n";
  auto& five = Host(5, content);
  EXPECT_EQ(five.LoadINIValueByKey("S", "missing"), "");
  EXPECT_EQ(five.LoadINIValueByKey("S", "t"), "abc\tdef");
  EXPECT_EQ(five.LoadINIValueByKey("S", "m"), v254 + "y");
  ResetLibraryState();
  auto& four = Host(4, content);
  EXPECT_EQ(four.LoadINIValueByKey("S", "t"), "abc");
  EXPECT_EQ(four.LoadINIValueByKey("S", "m"), v254);
}

// The keys a, b, c ... of section S read as booleans with the given default: T for true, F for false.
void ExpectBooleans(INIManagerInterface& ini, bool defaultValue, const std::string& expected) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string key(1, static_cast<char>('a' + i));
    EXPECT_EQ(std::get<bool>(ini.LoadINIBoolean("S", key, defaultValue)), expected[i] == 'T') << key;
  }
}

TEST_F(IniManagers, BooleanFormsOfEachManager) {
  ExpectBooleans(Host(4, "[S]\r\na=igaz\r\nb=HAMIS\r\nc=true\r\nd=0\r\ne=-1\r\nf=abc\r\ng=null\r\nh=\r\n"),
                 true, "TFTFTFTT");
  ResetLibraryState();
  const std::string five = "[S]\r\na=TRUE\r\nb=false ;x\r\nc=1\r\nd=tomato\r\ne=fish\r\nf=yes\r\ng=\r\n";
  ExpectBooleans(Host(5, five), false, "TFTFTFF");
  EXPECT_EQ(AfterEnd(), five.substr(0, five.size() - 2) + "false\r\n");  // only the empty one is registered
}

TEST_F(IniManagers, SettingsPropertiesReadRepairAndWriteBack) {
  for (const std::int32_t version : {4, 5}) {
    auto& ini = Host(version, "[xy]\r\nSwapXY=TRUE\r\n");
    EXPECT_TRUE(ini.gSwapXY());
    EXPECT_EQ(ini.gAngleMode(), ANGLE_MODE_360);
    EXPECT_EQ(AfterEnd(), "[xy]\r\nSwapXY=TRUE\r\n[AngleMode]\r\nMode=360\r\n") << version;
    EXPECT_EQ(Host(version, "[AngleMode]\r\nMode=400\r\n").gAngleMode(), ANGLE_MODE_400);
    ResetLibraryState();
    auto& odd = Host(version, "[xy]\r\nSwapXY=yes\r\nSecondCoordName=N\r\n[AngleMode]\r\nMode=90\r\n");
    EXPECT_FALSE(odd.gSwapXY());
    EXPECT_EQ(odd.gAngleMode(), ANGLE_MODE_360);
    EXPECT_EQ(odd.gFirstCoorName(), "Y");
    EXPECT_EQ(odd.gSecondCoorName(), "N");
    EXPECT_TRUE(odd.WarnInvisibleCurrentLayer());
    EXPECT_FALSE(odd.TryKeepLayerVisible());
    odd.TryKeepLayerVisible(true);
    EXPECT_TRUE(odd.TryKeepLayerVisible());
    const std::string unitAfter = version == 4 ? "360" : "90";  // only the manager repairs the unit
    EXPECT_EQ(AfterEnd(),
              "[xy]\r\nSwapXY=False\r\nSecondCoordName=N\r\nFirstCoordName=Y\r\n[AngleMode]\r\nMode=" +
                  unitAfter + "\r\n[Setup]\r\nTryKeepLayerVisible=true\r\nWarnInvisibleCurrentLayer=true\r\n")
        << version;
  }
}

TEST_F(IniManagers, TracesTheFixedBufferRead) {
  Host(4, "[S]\r\nk= v ;c\r\n");
  const std::string log =
      testing::TraceOf(folder_.File("trace.log"), [&] { root_->LoadINIValueByKey("S", "k"); });
  EXPECT_NE(log.find("\"clsCommon.LoadINIValueByKey 1 S k\"\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\" << clsCommon.LoadINIValueByKey returned : v \"\r\n"), std::string::npos) << log;
}

// Runs `then` once, right after the next read of a file's bytes, once the reader has let the file go:
// another writer landing between a read and whatever its reader does next.
struct AfterNextRead {
  static inline std::function<void()> then;
  static inline bool read = false;
  AfterNextRead() { read = false; }
  ~AfterNextRead() { then = nullptr; }  // never left to a later test
  static void RunIfRead() {
    if (const auto next = read ? std::exchange(then, nullptr) : nullptr) {
      next();
    }
  }
#ifdef _WIN32
  platform::ScopedFileCall<&platform::FileCalls::readFile> reading{
      [](HANDLE file, void* buffer, DWORD size, DWORD* got) {
        read = true;
        return platform::SystemFileCalls().readFile(file, buffer, size, got);
      }};
  platform::ScopedFileCall<&platform::FileCalls::closeHandle> closing{[](HANDLE handle) {
    const BOOL closed = platform::SystemFileCalls().closeHandle(handle);
    RunIfRead();
    return closed;
  }};
#else
  platform::ScopedFileCall<&platform::FileCalls::pread> reading{
      [](int fd, void* buffer, size_t size, off_t at) {
        read = true;
        return platform::SystemFileCalls().pread(fd, buffer, size, at);
      }};
  platform::ScopedFileCall<&platform::FileCalls::close> closing{[](int fd) {
    const int closed = platform::SystemFileCalls().close(fd);
    RunIfRead();
    return closed;
  }};
#endif
};

// A default is written back only over what the manager read: what another writer put there while
// the host ran stays.
TEST_F(IniManagers, WriteBackLeavesAnotherWritersValue) {
  struct Case {
    const char* name;
    std::string before;
    std::optional<std::string> meanwhile;  // another writer's value; none: nobody writes
    std::string after;
    bool rightAfterTheRead = false;  // the other writer lands between the read and what follows it
  };
  const std::string kAtDefault = "[Setup]\r\nUnits=metric\r\n";
  const std::string kChanged = "[Setup]\r\nUnits=imperial\r\n";
  const std::string kOther = "[Other]\r\nx=1\r\n";
  for (const std::int32_t version : {4, 5}) {
    for (const Case& row :
         {Case{"AbsentUntouched", "", std::nullopt, kAtDefault},
          Case{"AbsentThenWritten", "", "imperial", kChanged},
          Case{"AtDefaultThenWritten", kAtDefault, "imperial", kChanged},
          Case{"AbsentWrittenDuringTheLoad", kOther, "imperial", kOther + kChanged, true}}) {
      auto& ini = Host(version, row.before);
      std::optional<AfterNextRead> seam;
      if (row.rightAfterTheRead) {
        seam.emplace();
        // From another thread, as another program would: not inside this thread's read of the file.
        AfterNextRead::then = [&] {
          std::thread([&] { EXPECT_TRUE(ProfileWrite("Setup", "Units", *row.meanwhile, file_)); }).join();
        };
      }
      EXPECT_EQ(ini.LoadINIString("Setup", "Units", "metric"), "metric") << row.name;
      seam.reset();
      if (row.meanwhile && !row.rightAfterTheRead) {
        ASSERT_TRUE(ProfileWrite("Setup", "Units", *row.meanwhile, file_));
      }
      EXPECT_EQ(AfterEnd(), row.after) << row.name << " " << version;
    }
  }
}

class Recorder : public INIManager5Events {
 public:
  void OnWriteValue(const std::string& section, const std::string& key, const Variant& value) override {
    seen.push_back(section + "/" + key + "=" +
                   (std::holds_alternative<bool>(value)          ? "bool:"
                    : std::holds_alternative<std::string>(value) ? "text:"
                                                                 : "empty:") +
                   VariantToINIText(value));
    if (onWrite) {
      onWrite();
    }
  }
  std::vector<std::string> seen;
  std::function<void()> onWrite;
};

// Listeners hear of every write, a setting's repair too, but not the write-back; one may write while
// it is told (all hear of that write first) and unadvise.
TEST_F(IniManagers, Manager5TellsListenersOfEveryWriteButNotTheWriteBack) {
  auto& ini = Host(5, "[xy]\r\nSwapXY=maybe\r\n");
  const auto first = std::make_shared<Recorder>();
  const auto second = std::make_shared<Recorder>();
  const std::uint32_t cookie = GetSharedINI5()->Advise(first);
  GetSharedINI5()->Advise(second);
  first->onWrite = [&] {
    first->onWrite = nullptr;
    ini.WriteINIBoolean("S", "b", false);
  };
  ini.WriteINIValueByKey("S", std::string("k"), std::string("v"));
  GetSharedINI5()->Unadvise(cookie);
  ini.gSwapXY();
  ini.LoadINIString("S", "pending", "d");
  ini.WriteINIValueByKey("S", std::string("k"), std::nullopt);  // deletes the key, still a text write
  AfterEnd();
  EXPECT_EQ(first->seen, (std::vector<std::string>{"S/k=text:v", "S/b=bool:false"}));
  EXPECT_EQ(second->seen,
            (std::vector<std::string>{"S/b=bool:false", "S/k=text:v", "xy/SwapXY=text:False", "S/k=text:"}));
  EXPECT_EQ(testing::ReadBytes(file_).find("k="), std::string::npos);
}

}  // namespace
}  // namespace qlxw
