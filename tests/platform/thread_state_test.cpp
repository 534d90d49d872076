#include "os/thread_state.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qlxw::platform {
namespace {

// What ended, in order, by thread: a thread's own thread-locals may be gone when its states end.
std::mutex gEndedMutex;
std::map<std::thread::id, std::vector<std::string>> gEnded;

void NoteEnded(std::string what) {
  const std::lock_guard lock(gEndedMutex);
  gEnded[std::this_thread::get_id()].push_back(std::move(what));
}

std::vector<std::string> EndedOn(std::thread::id thread) {
  const std::lock_guard lock(gEndedMutex);
  return gEnded[thread];
}

std::vector<std::string> Ended() {
  return EndedOn(std::this_thread::get_id());
}

template <EndStage Stage, int Tag>
struct Probe {
  ~Probe() { NoteEnded(name); }
  std::string name = "stage" + std::to_string(static_cast<int>(Stage)) + "." + std::to_string(Tag);
};

template <EndStage Stage, int Tag>
using ProbeSlot = ThreadState<Probe<Stage, Tag>, Stage>;

using Manager = ProbeSlot<EndStage::kManagers, 0>;
using HostObjectA = ProbeSlot<EndStage::kHostObjects, 0>;
using HostObjectB = ProbeSlot<EndStage::kHostObjects, 1>;
using Setting = ProbeSlot<EndStage::kSettings, 0>;
using Buffer = ProbeSlot<EndStage::kBuffers, 0>;

// A manager that reads a setting when it ends, as an INI manager reads the file name.
struct WritingBack {
  ~WritingBack() { NoteEnded("wrote back to " + Setting::Get().name); }
};
using WritingBackSlot = ThreadState<WritingBack, EndStage::kManagers>;

// A setting that needs a manager again while it ends.
struct Reviving {
  ~Reviving() { Manager::Get(); }
};
using RevivingSlot = ThreadState<Reviving, EndStage::kSettings>;

class ThreadStates : public ::testing::Test {
 protected:
  void SetUp() override {
    EndThisThreadStates();
    const std::lock_guard lock(gEndedMutex);
    gEnded.clear();
  }
  void TearDown() override { EndThisThreadStates(); }
};

TEST_F(ThreadStates, EndByStageWhateverTheOrderTheyWereMadeIn) {
  Buffer::Get();
  EXPECT_EQ(Setting::Find(), nullptr);  // Find does not make one, Get keeps one copy
  Probe<EndStage::kSettings, 0>& made = Setting::Get();
  EXPECT_EQ(&Setting::Get(), &made);
  EXPECT_EQ(Setting::Find(), &made);
  HostObjectA::Get();
  Manager::Get();
  HostObjectB::Get();
  EndThisThreadStates();
  // Within a stage the last made ends first.
  EXPECT_EQ(Ended(), (std::vector<std::string>{"stage0.0", "stage1.1", "stage1.0", "stage2.0", "stage3.0"}));
}

TEST_F(ThreadStates, AStateMadeAgainWhileEndingEndsToo) {
  RevivingSlot::Get();
  Manager::Get();
  EndThisThreadStates();
  EXPECT_EQ(Manager::Find(), nullptr);
  EXPECT_EQ(RevivingSlot::Find(), nullptr);
  EXPECT_EQ(Ended(), (std::vector<std::string>{"stage0.0", "stage0.0"}));
}

// A manager ending (with its thread) still finds the settings whole.
TEST_F(ThreadStates, EachThreadHasItsOwnAndEndsItWithTheThread) {
  Setting::Get().name = "main";
  std::string seenThere;
  std::thread there([&] {
    seenThere = Setting::Get().name;
    Setting::Get().name = "there";
    WritingBackSlot::Get();
  });
  const std::thread::id thereId = there.get_id();
  there.join();
  EXPECT_EQ(seenThere, "stage2.0");
  EXPECT_EQ(Setting::Get().name, "main");
  EXPECT_EQ(EndedOn(thereId), (std::vector<std::string>{"wrote back to there", "there"}));
  EXPECT_EQ(Ended(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qlxw::platform
