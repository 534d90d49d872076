#pragma once
// The library-wide state is per thread and owned by each subsystem (see os/thread_state.h).

namespace qlxw {

// Ends this thread's state, as unloading the library from the thread would (the INI managers write
// their defaults back, the trace switch goes off), so that the next use starts from nothing.
void ResetLibraryState();

}  // namespace qlxw
