#pragma once
// Work to do when a thread that used the library ends: its library state ends (INI managers write their
// defaults back), then the buffers it used are freed. A DLL cannot rely on C++ thread-local destructors
// (they may run late or never), so each platform says for itself when a thread ends.

namespace qlxw::platform {

// Runs `callback` when this thread ends, after the callbacks registered later (last in, first out).
void AtThisThreadEnd(void (*callback)());

// Runs this thread's callbacks now and forgets them; for a thread that stops using the library early.
void EndThisThread();

}  // namespace qlxw::platform
