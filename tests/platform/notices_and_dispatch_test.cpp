// The automation and notice seams: what the core may rely on whichever platform serves them.
#include <gtest/gtest.h>

#include <string>

#include "errors/lib_error.h"
#include "os/notices.h"
#include "tests/support/test_support.h"
#include "values/automation.h"

#ifdef _WIN32
#include <windows.h>

#include <oleauto.h>

#include "os/windows/dispatch_object.h"
#endif

namespace qlxw {
namespace {

using testing::ErrorNumberOf;

class NoMembers : public AutomationObject {
 public:
  bool IsForm() const override { return false; }
};

TEST(AutomationSeam, AnObjectWithoutMembersAnswers438ToEveryLateBoundCall) {
  NoMembers object;
  EXPECT_EQ(ErrorNumberOf([&] { object.GetProperty("Caption"); }), kErrNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { object.SetProperty("Caption", std::string("x")); }), kErrNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { object.CallMethod("Refresh", {}); }), kErrNoSuchMember);
  EXPECT_EQ(StandardErrorText(kErrNoSuchMember), "Object doesn't support this property or method");
}

// A message box has an OK button and its icon only; without a desktop the notice goes to standard
// error, naming the program once.
TEST(NoticeSeam, AnOkBoxWithItsIconOrALineNamingTheProgramOnce) {
  EXPECT_EQ(platform::detail::NoticeBoxStyle(platform::NoticeIcon::kExclamation), 48U);
  EXPECT_EQ(platform::detail::NoticeBoxStyle(platform::NoticeIcon::kCriticalStop), 16U);
#ifndef _WIN32
  ::testing::internal::CaptureStderr();
  platform::ShowNotice("Folder missing", "QlxWCommon");
  platform::ShowNotice("Folder missing", "Hiba");
  platform::SoundBeep();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "QlxWCommon: Folder missing\nQlxWCommon: Hiba: Folder missing\n\a");
#endif
}

#ifdef _WIN32
// A host object the platform provides everywhere: the scripting runtime's dictionary.
class DispatchObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID dictionary{};
    ASSERT_EQ(CLSIDFromProgID(L"Scripting.Dictionary", &dictionary), S_OK);
    IDispatch* raw = nullptr;
    ASSERT_EQ(CoCreateInstance(dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&raw)),
              S_OK);
    object_ = platform::HostObject(raw);
    raw->Release();
  }
  void TearDown() override {
    object_.reset();
    CoUninitialize();
  }
  std::shared_ptr<AutomationObject> object_;
};

// Members are called by name in any case; the object's own errors pass through with their numbers;
// objects go back to the host as they came.
TEST_F(DispatchObjectTest, MembersErrorsAndObjectsPassThrough) {
  object_->CallMethod("Add", {std::string("key"), std::int32_t{5}});
  EXPECT_EQ(object_->GetProperty("Count"), AutomationValue(std::int32_t{1}));
  EXPECT_EQ(object_->CallMethod("Item", {std::string("key")}), AutomationValue(std::int32_t{5}));
  EXPECT_EQ(object_->CallMethod("exists", {std::string("KEY")}), AutomationValue(false));
  EXPECT_EQ(ErrorNumberOf([&] {
              object_->CallMethod("Add", {std::string("key"), std::int32_t{6}});
            }),
            kErrDuplicateKey);
  EXPECT_EQ(ErrorNumberOf([&] { object_->GetProperty("NoSuchMember"); }), kErrNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { object_->CallMethod("Add", {}); }), kErrWrongArgumentCount);
  object_->CallMethod("RemoveAll", {});
  object_->SetProperty("CompareMode", std::int32_t{1});
  EXPECT_EQ(object_->GetProperty("CompareMode"), AutomationValue(std::int32_t{1}));
  EXPECT_FALSE(object_->IsForm());
  object_->CallMethod("Add", {std::string("self"), object_});
  const auto back = object_->CallMethod("Item", {std::string("self")});
  const auto* held = std::get_if<std::shared_ptr<AutomationObject> >(&back);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(dynamic_cast<platform::DispatchObject&>(**held).Dispatch(),
            dynamic_cast<platform::DispatchObject&>(*object_).Dispatch());
  object_->CallMethod("RemoveAll", {});  // the dictionary must not hold itself
}

#endif

}  // namespace
}  // namespace qlxw
