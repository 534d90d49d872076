#include "os/thread_state.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "os/thread_end.h"
#include "os/thread_slots.h"

namespace qlxw::platform {
namespace {

std::mutex gKindsMutex;

std::vector<detail::StateKind>& Kinds() {
  static std::vector<detail::StateKind> kinds;
  return kinds;
}

detail::StateKind KindAt(std::size_t kind) {
  const std::lock_guard lock(gKindsMutex);
  return Kinds()[kind];
}

// One thread's states, by kind, and the order they were made in.
struct States {
  std::vector<void*> byKind;
  std::vector<std::size_t> made;
};

States* ThisThreadStates() noexcept {
  return static_cast<States*>(GetThreadSlot(ThreadSlot::kThreadStates));
}

void EndStates(States& states) noexcept {
  // A state that ends may use another (an INI manager reads the file name) and so make it again:
  // go on until none is left, with a bound in case two keep making each other.
  for (int round = 0; round < 8 && !states.made.empty(); ++round) {
    for (int stage = static_cast<int>(EndStage::kManagers); stage <= static_cast<int>(EndStage::kBuffers);
         ++stage) {
      for (std::size_t i = states.made.size(); i-- > 0;) {
        const std::size_t kind = states.made[i];
        const detail::StateKind info = KindAt(kind);
        if (static_cast<int>(info.stage) != stage) {
          continue;
        }
        void* state = states.byKind[kind];
        states.made.erase(states.made.begin() + static_cast<std::ptrdiff_t>(i));
        states.byKind[kind] = nullptr;
        info.destroy(state);
        i = std::min(i, states.made.size());
      }
    }
  }
  // Two states that keep making each other: end what is left one by one, within a bound, and leave
  // the rest rather than loop.
  for (int left = 64; left > 0 && !states.made.empty(); --left) {
    const std::size_t kind = states.made.back();
    states.made.pop_back();
    void* state = std::exchange(states.byKind[kind], nullptr);
    KindAt(kind).destroy(state);
  }
  states.made.clear();
}

void OnThreadEnd() {
  States* states = ThisThreadStates();
  if (states == nullptr) {
    return;
  }
  EndStates(*states);
  SetThreadSlot(ThreadSlot::kThreadStates, nullptr);
  delete states;
}

}  // namespace

namespace detail {

std::size_t RegisterStateKind(const StateKind& kind) {
  const std::lock_guard lock(gKindsMutex);
  Kinds().push_back(kind);
  return Kinds().size() - 1;
}

void* FindState(std::size_t kind) noexcept {
  const States* states = ThisThreadStates();
  return states != nullptr && kind < states->byKind.size() ? states->byKind[kind] : nullptr;
}

void* MakeState(std::size_t kind) {
  States* states = ThisThreadStates();
  if (states == nullptr) {
    states = new States();
    SetThreadSlot(ThreadSlot::kThreadStates, states);
    AtThisThreadEnd(OnThreadEnd);
  }
  if (kind >= states->byKind.size()) {
    states->byKind.resize(kind + 1, nullptr);
  }
  // Listed once made: a state that uses another while being made comes after it, so it ends first.
  void* state = KindAt(kind).create();
  states->byKind[kind] = state;
  states->made.push_back(kind);
  return state;
}

}  // namespace detail

void EndThisThreadStates() noexcept {
  if (States* states = ThisThreadStates()) {
    EndStates(*states);
  }
}

}  // namespace qlxw::platform
