#pragma once
// Starting another program without waiting for it.
#include <string>
#include <vector>

namespace qlxw::platform {

// Starts the program (a full path) with the arguments; on Windows its window comes up minimized and
// with the focus. Fails with 53 (file not found) when the program cannot be started.
void StartProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace qlxw::platform
