// What a section search costs on files built to make a naive search quadratic: long names of digits (a
// byte matched in any case) in a line or a header of digits, names of letters among many short
// headers, accented names in UTF-8. Arguments: the file's size in bytes, the file's shape. bench/ratios.py
// sets each time at 2 MiB against the same shape at 256 KiB: about 8 when the search is linear, about
// 64 when it is quadratic.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "profile/profile.h"

namespace {

std::string Repeated(std::string_view piece, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) {
    text += piece;
  }
  return text;
}

struct Shape {
  std::string content;
  std::string section;
  qlxw::ProfileCharset charset = qlxw::ProfileCharset::kCodePage;
};

// The name asked for is a hundredth of the file: long enough that matching it again at every byte
// would show.
Shape ShapeOf(int64_t kind, std::size_t bytes) {
  const std::size_t name = bytes / 100;
  switch (kind) {
    case 0:
      return {std::string(bytes, '1'), std::string(name, '1')};
    case 1:
      return {"[" + std::string(bytes, '1'), std::string(name, '1')};
    case 2:
      return {Repeated("[a\r\n", bytes), std::string(name, 'a')};
    default:
      return {Repeated("[\xC3\xA1\r\n", bytes), Repeated("\xC3\xA1", name), qlxw::ProfileCharset::kUtf8};
  }
}

// A read of a section that is not there, then a write that adds it, each over the whole file.
void BM_SectionSearchWorstCase(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0));
  const Shape shape = ShapeOf(state.range(1), bytes);
  const auto file = std::filesystem::temp_directory_path() / "qlxw-bench-section-search.ini";
  for (auto _ : state) {
    state.PauseTiming();
    {
      std::FILE* out = std::fopen(file.string().c_str(), "wb");
      std::fwrite(shape.content.data(), 1, shape.content.size(), out);
      std::fclose(out);
    }
    state.ResumeTiming();
    std::string text;
    qlxw::ProfileRead(shape.section, "k", "<absent>", 100, file.string(), text, shape.charset);
    if (text != "<absent>" || !qlxw::ProfileWrite(shape.section, "k", "v", file.string(), shape.charset)) {
      state.SkipWithError("the section was found, or the write was not done");
      break;
    }
  }
  std::filesystem::remove(file);
}

const bool kRegistered = [] {
  for (const int64_t shape : {0, 1, 2, 3}) {
    for (const int64_t bytes : {int64_t{256} << 10, int64_t{2} << 20}) {
      benchmark::RegisterBenchmark("BM_SectionSearchWorstCase", BM_SectionSearchWorstCase)
          ->Args({bytes, shape})
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
