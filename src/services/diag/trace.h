#pragma once
// The trace log: while the switch is on, trace points append one quoted record per line to the log
// file named in the trace settings.
//
// A trace point is Trace(parts...). With tracing off it costs one test of a thread-local flag and
// builds no text, so pass its parts as they are (literals, numbers, Booleans, kTraceTime) rather than
// formatting them first.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/number_text.h"

namespace qlxw {

#if defined(__ELF__)
namespace detail {
// In an ELF shared library a thread-local is reached through a call unless it lives in the static
// TLS block; one flag there keeps a trace point at a single load and test.
[[gnu::tls_model("initial-exec")]] extern constinit thread_local bool tTraceSwitch;
}  // namespace detail

inline bool TraceOn() noexcept {
  return detail::tTraceSwitch;
}
#else
// A DLL's thread-locals cannot be read from another module: ask the library.
bool TraceOn() noexcept;
#endif
// Switching on makes this thread's trace settings, whose end switches it off again.
void SetTraceSwitch(bool on);

// Appends the record: quotation mark, text, quotation mark, CR LF, in the 8-bit code page. The file is
// opened, appended to and closed for this one line. Fails with the file error when it cannot be written
// (error 75 for an empty or invalid name or a name that is no regular file, 76 for a missing folder, 70
// for no access, 61 for a full disk).
void WriteTraceLine(const std::string& text);

// Stands for the time of day ("14:03:27") in a trace point; it is read only when the line is written.
struct TraceTime {};
inline constexpr TraceTime kTraceTime{};

std::string TimeOfDayText();

namespace detail {

inline void AppendTracePart(std::string& line, std::string_view text) {
  line.append(text);
}
template <std::size_t N>
void AppendTracePart(std::string& line, const char (&literal)[N]) {
  line.append(literal, N - 1);
}
inline void AppendTracePart(std::string& line, TraceTime /*now*/) {
  line.append(TimeOfDayText());
}
inline void AppendTracePart(std::string& line, bool value) {
  line.append(value ? "True" : "False");
}
template <std::integral Integer>
requires(!std::same_as<Integer, bool> && !std::same_as<Integer, char>) void AppendTracePart(std::string& line,
                                                                                            Integer value) {
  line.append(std::to_string(value));
}
inline void AppendTracePart(std::string& line, double value) {
  line.append(NumberToText(value));
}

}  // namespace detail

template <class... Parts>
void Trace(const Parts&... parts) {
  if (TraceOn()) [[unlikely]] {
    std::string line;
    (detail::AppendTracePart(line, parts), ...);
    WriteTraceLine(line);
  }
}

}  // namespace qlxw
