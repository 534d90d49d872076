#pragma once
#include <cstdio>
#include <string>

#include "errors/lib_error.h"

namespace qlxw::cli {

// "0xNNNNNNNN: description", the number as a COM host receives it.
inline std::string ErrorText(const LibError& error) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(HResultOf(error.Number())));
  return std::string(number) + ": " + error.Description();
}

}  // namespace qlxw::cli
