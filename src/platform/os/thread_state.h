#pragma once
// Per-thread state owned by the subsystem that uses it. A subsystem declares its state as
//
//   struct TraceState { ... };
//   using TraceStateSlot = platform::ThreadState<TraceState, platform::EndStage::kSettings>;
//
// in a .cpp file, and reaches this thread's copy with TraceStateSlot::Get() (made on first use) or Find()
// (null until then). Other files reach it through a function of that .cpp file, never through the slot:
// a Windows DLL and the program using it each have their own copy of a template's statics, and so
// would each have their own slot.
//
// When the thread ends, or a test asks for a fresh start, the states end stage by stage; within a stage,
// the one made last ends first.
#include <cstddef>

namespace qlxw::platform {

// The order in which a thread's states end.
enum class EndStage {
  kManagers,     // INI managers: they write their defaults back while the settings below are whole
  kHostObjects,  // objects kept for hosts: the root object, anchors, the frame form
  kSettings,     // file name, main version, language, trace settings
  kBuffers,      // what the stages above still use while they end
};

namespace detail {

struct StateKind {
  EndStage stage;
  void* (*create)();
  void (*destroy)(void*) noexcept;
};

// A number for the kind, the same on every thread.
std::size_t RegisterStateKind(const StateKind& kind);
void* FindState(std::size_t kind) noexcept;
void* MakeState(std::size_t kind);

}  // namespace detail

template <class T, EndStage Stage>
class ThreadState {
 public:
  // This thread's copy, made on first use.
  static T& Get() {
    const std::size_t kind = Kind();
    if (void* state = detail::FindState(kind)) {
      return *static_cast<T*>(state);
    }
    return *static_cast<T*>(detail::MakeState(kind));
  }

  // This thread's copy, or null when the thread has none.
  static T* Find() noexcept { return static_cast<T*>(detail::FindState(Kind())); }

 private:
  static std::size_t Kind() {
    static const std::size_t kind =
        detail::RegisterStateKind({Stage, []() -> void* { return new T(); },
                                   [](void* state) noexcept { delete static_cast<T*>(state); }});
    return kind;
  }
};

// Ends every state of this thread now, stage by stage, as the thread's end would; the next use starts
// from nothing.
void EndThisThreadStates() noexcept;

}  // namespace qlxw::platform
