// The profile layer against plain file I/O on the same files, and what the INI managers add.
// Cases pair by their arguments: BM_ProfileRead/1000/1 beside BM_FileReadBaseline/1000/1.
// Arguments: key lines in the file (10 keys a section), and where the key is (0 start, 1 middle, 2 end).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "api/cls_common.h"
#include "api/library_state.h"
#include "config/ini_manager_interface.h"
#include "profile/profile.h"

namespace {

constexpr int kKeysPerSection = 10;

struct BenchFile {
  std::string path;
  std::string section;
  std::string key;
};

// Where the files live: $QLXW_BENCH_DIR, else a memory file system when there is one, so that write
// timings show what the code costs rather than what the disk was doing (both a write and its baseline
// flush the same amount of data). Point QLXW_BENCH_DIR at a disk folder to see disk-bound figures.
std::filesystem::path BenchFolder() {
  if (const char* chosen = std::getenv("QLXW_BENCH_DIR"); chosen != nullptr && *chosen != 0) {
    return std::filesystem::path(chosen) / "qlxw-bench";
  }
  if (std::filesystem::is_directory("/dev/shm")) {
    return "/dev/shm/qlxw-bench";
  }
  return std::filesystem::temp_directory_path() / "qlxw-bench";
}

// One generated file per argument pair, made on first use and kept for the run.
const BenchFile& FileFor(const benchmark::State& state) {
  static std::map<std::pair<int64_t, int64_t>, BenchFile> files;
  const auto lines = state.range(0);
  const auto where = state.range(1);
  auto& file = files[{lines, where}];
  if (file.path.empty()) {
    const auto folder = BenchFolder();
    std::filesystem::create_directories(folder);
    file.path = (folder / ("bench-" + std::to_string(lines) + "-" + std::to_string(where) + ".ini")).string();
    std::string content = "; generated for the benchmarks\r\n";
    const int64_t sections = (lines + kKeysPerSection - 1) / kKeysPerSection;
    for (int64_t s = 0; s < sections; ++s) {
      content += "[Section" + std::to_string(s) + "]\r\n";
      for (int64_t k = 0; k < kKeysPerSection && s * kKeysPerSection + k < lines; ++k) {
        content +=
            "Key" + std::to_string(k) + " = value of " + std::to_string(s * kKeysPerSection + k) + "\r\n";
      }
    }
    const int64_t target = where == 0 ? 0 : where == 1 ? lines / 2 : lines - 1;
    file.section = "section" + std::to_string(target / kKeysPerSection);  // other letter case on purpose
    file.key = "KEY" + std::to_string(target % kKeysPerSection);
    std::FILE* out = std::fopen(file.path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
  }
  return file;
}

// A read into memory that begins less than 32 bytes past a page boundary (where the allocator puts
// large blocks) copies several times slower: the baseline avoids it as the library does, or its time
// would depend on where the allocator happened to put the block.
std::string ReadAll(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  ::fstat(fd, &info);
  const auto size = static_cast<std::size_t>(info.st_size);
  std::string bytes(size + 64, '\0');
  const std::size_t start = reinterpret_cast<std::uintptr_t>(bytes.data()) % 4096 < 32 ? 64 : 0;
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = ::read(fd, bytes.data() + start + filled, size - filled);
    if (got <= 0) {
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  ::close(fd);
  bytes.erase(0, start);
  bytes.resize(filled);
  return bytes;
}

// A copy of the case's file whose last-write time is a day ahead: its times are never settled, so every
// read reads it again, as a read of a changed file does (without touching the file between timed reads).
const BenchFile& UnsettledFileFor(const benchmark::State& state) {
  static std::map<std::pair<int64_t, int64_t>, BenchFile> files;
  auto& file = files[{state.range(0), state.range(1)}];
  if (file.path.empty()) {
    file = FileFor(state);
    file.path += ".unsettled.ini";
    std::filesystem::copy_file(FileFor(state).path, file.path,
                               std::filesystem::copy_options::overwrite_existing);
    timespec ahead{};
    clock_gettime(CLOCK_REALTIME, &ahead);
    ahead.tv_sec += 24 * 60 * 60;
    const timespec times[2] = {ahead, ahead};
    ::utimensat(AT_FDCWD, file.path.c_str(), times, 0);
  }
  return file;
}

// The file's key read again and again through the profile layer.
void ReadRepeatedly(benchmark::State& state, const BenchFile& file) {
  std::string text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qlxw::ProfileRead(file.section, file.key, std::nullopt, 255, file.path, text));
  }
  if (text.rfind("value of", 0) != 0) {
    state.SkipWithError("the key was not found");
  }
}

// A read of a changed file, which opens and reads it as every read did before reads kept copies.
void BM_ProfileRead(benchmark::State& state) {
  ReadRepeatedly(state, UnsettledFileFor(state));
}

// The same file read again, unchanged since a read long enough ago for its times to be trusted.
void BM_ProfileReadCached(benchmark::State& state) {
  const BenchFile& file = FileFor(state);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ReadRepeatedly(state, file);
}

void BM_StatBaseline(benchmark::State& state) {
  const BenchFile& file = FileFor(state);
  struct stat info {};
  for (auto _ : state) {
    benchmark::DoNotOptimize(::stat(file.path.c_str(), &info));
  }
}

void BM_FileReadBaseline(benchmark::State& state) {
  const BenchFile& file = FileFor(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadAll(file.path));
  }
}

void BM_ProfileWrite(benchmark::State& state) {
  const BenchFile& file = FileFor(state);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    if (!qlxw::ProfileWrite(file.section, file.key, flip ? "value of one" : "value of two", file.path)) {
      state.SkipWithError("the write was not done");
      break;
    }
  }
}

// The least an atomic, durable rewrite costs: read the file, write a copy beside it with the same value
// changed as BM_ProfileWrite changes it, flush the copy, rename it over the file. Writing the very same
// bytes back would be cheaper than any real change on some disks.
void BM_FileCopyBaseline(benchmark::State& state) {
  const BenchFile& file = FileFor(state);
  const std::string copy = file.path + ".copy";
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    std::string bytes = ReadAll(file.path);
    const std::size_t at = bytes.find("value of ", bytes.find("[Section"));
    bytes.replace(at, bytes.find('\r', at) - at, flip ? "value of one" : "value of two");
    const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::fsync(fd);
    ::close(fd);
    ::rename(copy.c_str(), file.path.c_str());
  }
}

void LoadThroughManager(benchmark::State& state, std::int32_t mainVersion) {
  const BenchFile& file = FileFor(state);
  qlxw::ResetLibraryState();
  const auto root = qlxw::clsCommon::Create();
  root->MainVer(mainVersion);
  root->INIFileName(file.path);
  qlxw::INIManagerInterface& ini = *root->INI();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini.LoadINIString(file.section, file.key, "default"));
  }
  qlxw::ResetLibraryState();
}

void BM_LoadINIString_INIManager5(benchmark::State& state) {
  LoadThroughManager(state, 5);
}

void BM_LoadINIString_INIManager(benchmark::State& state) {
  LoadThroughManager(state, 4);
}

// Each case runs right beside its baseline with the same arguments, so that both see the same machine
// state: writes that flush to disk are sensitive to what the disk was doing a moment before.
const bool kRegistered = [] {
  for (const int64_t lines : {100, 1000, 10000}) {
    for (const int64_t where : {0, 1, 2}) {
      benchmark::RegisterBenchmark("BM_ProfileRead", BM_ProfileRead)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_FileReadBaseline", BM_FileReadBaseline)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_ProfileReadCached", BM_ProfileReadCached)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_StatBaseline", BM_StatBaseline)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_ProfileWrite", BM_ProfileWrite)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_FileCopyBaseline", BM_FileCopyBaseline)->Args({lines, where});
      benchmark::RegisterBenchmark("BM_LoadINIString_INIManager5", BM_LoadINIString_INIManager5)
          ->Args({lines, where});
      benchmark::RegisterBenchmark("BM_LoadINIString_INIManager", BM_LoadINIString_INIManager)
          ->Args({lines, where});
    }
  }
  return true;
}();

}  // namespace
