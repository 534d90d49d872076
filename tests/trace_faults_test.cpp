// The trace log over a failing file seam: each cause the seam reports reaches the host as its own
// automation error, and a log written in short pieces still holds whole records.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "diag/cls_debug.h"
#include "diag/trace.h"
#include "errors/lib_error.h"
#include "file_faults.h"
#include "test_support.h"

namespace qlxw {
namespace {

class TraceLogOverFailingFiles : public testing::FreshLibraryState {
 protected:
  void SetUp() override {
    testing::FreshLibraryState::SetUp();
    debug_.sLogFileName(log_);
    debug_.bCallLog(true);
  }

  template <class Seam>
  std::int32_t ErrorWritingUnder(const std::string& text) {
    [[maybe_unused]] const Seam seam;
    return testing::ErrorNumberOf([&] { WriteTraceLine(text); });
  }

  testing::ScratchFolder folder_;
  std::string log_ = folder_.File("trace.log");
  clsDebug debug_;
};

TEST_F(TraceLogOverFailingFiles, EachCauseReachesTheHostAsItsOwnError) {
  EXPECT_EQ(ErrorWritingUnder<testing::OpenDenied>("denied"), kErrPermissionDenied);
  EXPECT_EQ(ErrorWritingUnder<testing::DiskFullHalfway>("disk full"), kErrDeviceIo);
  EXPECT_EQ(ErrorWritingUnder<testing::RenameDenied>("a log is appended, never renamed"), 0);
}

TEST_F(TraceLogOverFailingFiles, ShortWritesStillMakeWholeRecords) {
  EXPECT_EQ(ErrorWritingUnder<testing::HalfTransfers>("first record"), 0);
  EXPECT_EQ(ErrorWritingUnder<testing::HalfTransfers>("second record"), 0);
  EXPECT_EQ(testing::ReadBytes(log_), "\"first record\"\r\n\"second record\"\r\n");
}

}  // namespace
}  // namespace qlxw
