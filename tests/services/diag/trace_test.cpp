#include "diag/trace.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "api/cls_common.h"
#include "diag/cls_debug.h"
#include "diag/trace_settings.h"
#include "errors/lib_error.h"
#include "os/codepage.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

class TraceLog : public testing::FreshLibraryState {
 protected:
  void StartTracing(const std::string& file) {
    debug_.sLogFileName(file);
    debug_.bCallLog(true);
  }

  testing::ScratchFolder folder_;
  std::string log_ = folder_.File("trace.log");
  clsDebug debug_;
};

TEST_F(TraceLog, SettingsAndTheTraceObjectsAreSharedByAllInstances) {
  clsDebug other;
  debug_.sLogFileName("trace.log");
  other.bCallLog(true);
  other.bDebug(true);
  EXPECT_EQ(other.sLogFileName(), "trace.log");
  EXPECT_TRUE(debug_.bCallLog());
  EXPECT_TRUE(ThisThreadTraceSettings().debugFlag);
  const auto objects = debug_.colTraceObj();
  ASSERT_NE(objects, nullptr);
  EXPECT_EQ(objects->Count(), 0);
  EXPECT_EQ(other.colTraceObj(), objects);
  ResetLibraryState();  // switches tracing off
  EXPECT_FALSE(TraceOn());
  EXPECT_EQ(clsDebug().sLogFileName(), "");
}

TEST_F(TraceLog, OffWritesNothingEvenToABadName) {
  debug_.sLogFileName(log_);
  Trace("clsCommon.Class_Initialize >> ", kTraceTime);
  EXPECT_FALSE(std::filesystem::exists(log_));
  debug_.sLogFileName("");
  EXPECT_NO_THROW(Trace("anything ", 1, true));
}

TEST_F(TraceLog, AppendsQuotedRecordsWithCrLfInThe8BitCodePage) {
  testing::WriteBytes(log_, "earlier content without newline");
  StartTracing(log_);
  WriteTraceLine("say \"hi\" idő");
  Trace("FolderManager.SetPath 2 ", kTraceTime);
  Trace("bFound: ", true, " count: ", 42, " off: ", false, " pi: ", 3.5);
  const std::regex expected(R"(earlier content without newline"say "hi" id)" + platform::Utf8ToAnsi("ő") +
                            "\"\r\n"
                            "\"FolderManager.SetPath 2 [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\"\r\n"
                            "\"bFound: True count: 42 off: False pi: 3.5\"\r\n");
  EXPECT_TRUE(std::regex_match(testing::ReadBytes(log_), expected)) << testing::ReadBytes(log_);
}

TEST_F(TraceLog, UnwritableLogFailsWithTheFileError) {
  StartTracing("");
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPathFileAccess);
  debug_.sLogFileName(folder_.File("missing/trace.log"));
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPathNotFound);
  debug_.sLogFileName(folder_.Path().string());  // a folder, not a file
  EXPECT_EQ(testing::ErrorNumberOf([] { WriteTraceLine("x"); }), kErrPathFileAccess);
  EXPECT_EQ(testing::ErrorNumberOf([] { Trace("through a trace point"); }), kErrPathFileAccess);
}

TEST_F(TraceLog, RootObjectConstructionWritesFiveRecordsOrFailsOnAnEmptyLogName) {
  StartTracing(log_);
  const auto before = clsCommon::Create();
  std::string expected;
  for (const char* step : {">>", "1", "2", "3", "<<"}) {
    expected +=
        "\"clsCommon.Class_Initialize " + std::string(step) + " [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\"\r\n";
  }
  EXPECT_TRUE(std::regex_match(testing::ReadBytes(log_), std::regex(expected))) << testing::ReadBytes(log_);
  debug_.sLogFileName("");
  EXPECT_EQ(testing::ErrorNumberOf([] { clsCommon::Create(); }), kErrPathFileAccess);
  EXPECT_EQ(GetRootObject(), before);  // the failed one was never registered
}

}  // namespace
}  // namespace qlxw
