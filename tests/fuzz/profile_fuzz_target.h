#pragma once
// One entry point for the profile text engine under fuzzing: the fuzzer calls it with its inputs,
// the test suite with the saved corpus. A broken rule aborts.
#include <string_view>

namespace qlxw::fuzz {

// Input: three length bytes (section, key, value, each mod 16), an operation byte, the three texts,
// then the file content.
void FuzzProfileText(std::string_view input);

}  // namespace qlxw::fuzz
