#include "diag/trace.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "api/cls_common.h"
#include "diag/cls_debug.h"
#include "diag/trace_settings.h"
#include "errors/lib_error.h"
#include "os/codepage.h"
#include "test_support.h"

namespace qlxw {
namespace {

class TraceLog : public testing::FreshLibraryState {
 protected:
  void StartTracing(const std::string& file) {
    debug_.sLogFileName(file);
    debug_.bCallLog(true);
  }

  testing::ScratchFolder folder_;
  clsDebug debug_;
};

TEST_F(TraceLog, FreshSettings) {
  EXPECT_FALSE(debug_.bCallLog());
  EXPECT_EQ(debug_.sLogFileName(), "");
  EXPECT_EQ(debug_.sComponentName(), "QlxWCommon");
}

TEST_F(TraceLog, SettingsAreSharedByAllInstances) {
  clsDebug other;
  debug_.sLogFileName("trace.log");
  other.bCallLog(true);
  other.bDebug(true);
  EXPECT_EQ(other.sLogFileName(), "trace.log");
  EXPECT_TRUE(debug_.bCallLog());
  EXPECT_TRUE(ThisThreadTraceSettings().debugFlag);
}

TEST_F(TraceLog, TraceObjectCollectionIsOneObject) {
  const auto first = debug_.colTraceObj();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Count(), 0);
  EXPECT_EQ(debug_.colTraceObj(), first);
  EXPECT_EQ(clsDebug().colTraceObj(), first);
}

TEST_F(TraceLog, OffWritesNothingEvenToABadName) {
  const std::string file = folder_.File("off.log");
  debug_.sLogFileName(file);
  Trace("clsCommon.Class_Initialize >> ", kTraceTime);
  EXPECT_FALSE(std::filesystem::exists(file));
  debug_.sLogFileName("");
  EXPECT_NO_THROW(Trace("anything ", 1, true));
}

TEST_F(TraceLog, RecordIsQuotedTextAndCrLf) {
  const std::string file = folder_.File("trace.log");
  StartTracing(file);
  WriteTraceLine("say \"hi\"");
  Trace("FolderManager.SetPath 2 ", kTraceTime);
  Trace("bFound: ", true, " count: ", 42, " off: ", false, " pi: ", 3.5);
  const std::regex expected(
      "\"say \"hi\"\"\r\n"
      "\"FolderManager.SetPath 2 [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\"\r\n"
      "\"bFound: True count: 42 off: False pi: 3.5\"\r\n");
  EXPECT_TRUE(std::regex_match(testing::ReadBytes(file), expected)) << testing::ReadBytes(file);
}

TEST_F(TraceLog, AppendsAndNeverTruncates) {
  const std::string file = folder_.File("trace.log");
  testing::WriteBytes(file, "earlier content without newline");
  StartTracing(file);
  WriteTraceLine("one");
  WriteTraceLine("two");
  EXPECT_EQ(testing::ReadBytes(file), "earlier content without newline\"one\"\r\n\"two\"\r\n");
}

TEST_F(TraceLog, WrittenInThe8BitCodePage) {
  const std::string file = folder_.File("trace.log");
  StartTracing(file);
  WriteTraceLine("Keys.Class_Initialize idő: ");
  EXPECT_EQ(testing::ReadBytes(file), "\"Keys.Class_Initialize id" + platform::Utf8ToAnsi("ő") + ": \"\r\n");
  if (platform::AnsiCodePage() == 1250) {
    EXPECT_EQ(platform::Utf8ToAnsi("ő"), "\xF5");
  }
}

TEST_F(TraceLog, UnwritableLogFailsWithTheFileError) {
  StartTracing("");
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPathFileAccess);
  debug_.sLogFileName(folder_.File("missing/trace.log"));
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPathNotFound);
  debug_.sLogFileName(folder_.Path().string());  // a folder, not a file
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPermissionDenied);
  EXPECT_EQ(testing::ErrorNumberOf([] { Trace("through a trace point"); }), kErrPermissionDenied);
}

TEST_F(TraceLog, RootObjectConstructionWritesFiveRecords) {
  const std::string file = folder_.File("trace.log");
  StartTracing(file);
  clsCommon::Create();
  const std::string time = "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]";
  const std::regex expected(
      "\"clsCommon.Class_Initialize >> " + time + "\"\r\n" + "\"clsCommon.Class_Initialize 1 " + time +
      "\"\r\n" + "\"clsCommon.Class_Initialize 2 " + time + "\"\r\n" + "\"clsCommon.Class_Initialize 3 " +
      time + "\"\r\n" + "\"clsCommon.Class_Initialize << " + time + "\"\r\n");
  EXPECT_TRUE(std::regex_match(testing::ReadBytes(file), expected)) << testing::ReadBytes(file);
}

TEST_F(TraceLog, RootObjectConstructionFailsOnAnEmptyLogName) {
  const auto before = clsCommon::Create();
  StartTracing("");
  EXPECT_EQ(testing::ErrorNumberOf([] { clsCommon::Create(); }), kErrPathFileAccess);
  EXPECT_EQ(GetRootObject(), before);  // the failed one was never registered
}

TEST_F(TraceLog, ResetSwitchesTracingOff) {
  StartTracing(folder_.File("trace.log"));
  ResetLibraryState();
  EXPECT_FALSE(TraceOn());
  EXPECT_EQ(clsDebug().sLogFileName(), "");
}

}  // namespace
}  // namespace qlxw
