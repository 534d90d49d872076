#pragma once
// A DDE execute: a command text sent to a server's topic, as viewers of the Windows world take their
// orders.
#include <cstdint>
#include <string_view>

namespace qlxw::platform {

// Whether the platform has DDE at all (Windows does; elsewhere there is none).
bool DdeAvailable() noexcept;

// Connects to the service's topic (asking again for up to 10 seconds while no server answers), sends
// the command as an execute transaction and waits for the answer at most `timeoutMs`. Fails with a library
// error naming what went wrong: no server, a refused command, no answer in time, or no DDE on this platform.
void DdeExecute(std::string_view service, std::string_view topic, std::string_view command,
                std::uint32_t timeoutMs);

}  // namespace qlxw::platform
