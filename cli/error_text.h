#pragma once
#include <cstdio>
#include <string>

#include "errors/lib_error.h"

namespace qlxw::cli {

// "0xNNNNNNNN", the number as a COM host receives it.
inline std::string ErrorNumberText(const LibError& error) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(HResultOf(error.Number())));
  return number;
}

// "0xNNNNNNNN: description".
inline std::string ErrorText(const LibError& error) {
  return ErrorNumberText(error) + ": " + error.Description();
}

}  // namespace qlxw::cli
