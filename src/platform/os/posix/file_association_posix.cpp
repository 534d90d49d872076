// The desktop's default application for a file, read from the XDG files themselves so that no
// desktop's tools need be installed.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "os/file_association.h"
#include "os/files.h"
#include "text/lines.h"

namespace qlxw::platform {
namespace {

// What each kind of file can hold, with room to spare: a file beyond it is not one and reads as
// missing. The MIME globs and the desktop's cache list every type the system knows (some hundred
// kilobytes); a list of associations and a desktop entry, with all its translations, far less.
constexpr std::size_t kMaxGlobsBytes = std::size_t{8} << 20U;
constexpr std::size_t kMaxCacheBytes = std::size_t{8} << 20U;
constexpr std::size_t kMaxListBytes = std::size_t{1} << 20U;
constexpr std::size_t kMaxEntryBytes = std::size_t{1} << 20U;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string Home() {
  return Environment("HOME");
}

// A colon-separated list of folders, or the fallback when the variable is unset or empty.
std::vector<std::string> Folders(const char* variable, std::string_view fallback) {
  std::string list = Environment(variable);
  if (list.empty()) {
    list = fallback;
  }
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    if (end > start) {
      folders.push_back(list.substr(start, end - start));
    }
    start = end + 1;
  }
  return folders;
}

std::string ConfigHome() {
  const std::string value = Environment("XDG_CONFIG_HOME");
  return value.empty() ? Home() + "/.config" : value;
}

std::string DataHome() {
  const std::string value = Environment("XDG_DATA_HOME");
  return value.empty() ? Home() + "/.local/share" : value;
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders = {DataHome()};
  for (std::string& folder : Folders("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
    folders.push_back(std::move(folder));
  }
  return folders;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path.append("/").append(name);
  return path;
}

// The file's type from the globs of the shared MIME database: the "*.ext" pattern of the highest
// weight (the longest extension among equals) that ends the name.
std::optional<std::string> MimeTypeOf(const std::string& file) {
  const std::string name = Lower(file.substr(file.find_last_of('/') + 1));
  std::optional<std::string> best;
  int bestWeight = -1;
  std::size_t bestLength = 0;
  for (const std::string& folder : DataFolders()) {
    std::string bytes;
    if (!ReadWholeFile(Join(folder, "mime/globs2"), kMaxGlobsBytes, bytes).Ok()) {
      continue;
    }
    for (const std::string_view line : Lines(bytes)) {
      // weight:type:glob[:flags]
      const std::size_t first = line.find(':');
      const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
      if (line.empty() || line.front() == '#' || second == std::string_view::npos) {
        continue;
      }
      std::string_view glob = line.substr(second + 1);
      glob = glob.substr(0, glob.find(':'));
      if (glob.size() < 3 || glob.substr(0, 2) != "*." ||
          glob.find_first_of("*?[", 1) != std::string_view::npos) {
        continue;
      }
      const std::string suffix = Lower(glob.substr(1));
      const int weight = std::atoi(std::string(line.substr(0, first)).c_str());
      const bool ends = name.size() > suffix.size() &&
                        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
      if (ends && (weight > bestWeight || (weight == bestWeight && suffix.size() > bestLength))) {
        best = std::string(line.substr(first + 1, second - first - 1));
        bestWeight = weight;
        bestLength = suffix.size();
      }
    }
    if (best) {
      break;  // the first folder that knows the name decides
    }
  }
  return best;
}

// The desktop entries a "[section]" of an XDG list file names for the type, in order.
std::vector<std::string> EntriesFor(const std::string& path, std::size_t maxBytes, std::string_view section,
                                    const std::string& type) {
  std::vector<std::string> entries;
  std::string bytes;
  if (!ReadWholeFile(path, maxBytes, bytes).Ok()) {
    return entries;
  }
  bool inSection = false;
  for (const std::string_view line : Lines(bytes)) {
    if (!line.empty() && line.front() == '[') {
      inSection = line == section;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos || line.substr(0, equals) != type) {
      continue;
    }
    std::string_view list = line.substr(equals + 1);
    while (!list.empty()) {
      const std::size_t end = list.find(';');
      if (end != 0) {
        entries.emplace_back(list.substr(0, end));
      }
      if (end == std::string_view::npos) {
        break;
      }
      list.remove_prefix(end + 1);
    }
  }
  return entries;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The first word of the Exec line of the entry's [Desktop Entry] group, unquoted; empty when none.
std::string ExecProgram(std::string_view entryText) {
  bool inEntry = false;
  for (const std::string_view line : Lines(entryText)) {
    if (!line.empty() && line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
    } else if (inEntry && line.substr(0, 5) == "Exec=") {
      const std::string_view exec = line.substr(5);
      if (!exec.empty() && exec.front() == '"') {
        return std::string(exec.substr(1, exec.find('"', 1) - 1));
      }
      return std::string(exec.substr(0, exec.find(' ')));
    }
  }
  return {};
}

// The program's full path: as named when it names a folder, else the first on PATH; empty when it
// cannot be run.
std::string ResolveProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) {
    return IsExecutableFile(program) ? program : std::string();
  }
  for (const std::string& pathFolder : Folders("PATH", "/usr/local/bin:/usr/bin:/bin")) {
    std::string candidate = Join(pathFolder, program);
    if (IsExecutableFile(candidate)) {
      return candidate;
    }
  }
  return {};
}

// The program of a desktop entry; the first entry of that name in the data folders decides, as
// desktops do. Empty when the entry is missing or its program cannot be run.
std::string ProgramOfEntry(const std::string& entry) {
  for (const std::string& folder : DataFolders()) {
    std::string bytes;
    if (ReadWholeFile(Join(Join(folder, "applications"), entry), kMaxEntryBytes, bytes).Ok()) {
      const std::string program = ExecProgram(bytes);
      return program.empty() ? std::string() : ResolveProgram(program);
    }
  }
  return {};
}

std::vector<std::string> ListFiles() {
  std::vector<std::string> files = {Join(ConfigHome(), "mimeapps.list")};
  for (const std::string& folder : Folders("XDG_CONFIG_DIRS", "/etc/xdg")) {
    files.push_back(Join(folder, "mimeapps.list"));
  }
  for (const std::string& folder : DataFolders()) {
    files.push_back(Join(folder, "applications/mimeapps.list"));
  }
  return files;
}

std::string DefaultProgramFor(const std::string& type) {
  // An entry is read once, however often the lists name it.
  std::unordered_set<std::string> tried;
  const auto programOf = [&tried](const std::string& entry) {
    return tried.insert(entry).second ? ProgramOfEntry(entry) : std::string();
  };
  const std::vector<std::string> lists = ListFiles();
  for (const char* section : {"[Default Applications]", "[Added Associations]"}) {
    for (const std::string& list : lists) {
      for (const std::string& entry : EntriesFor(list, kMaxListBytes, section, type)) {
        if (std::string program = programOf(entry); !program.empty()) {
          return program;
        }
      }
    }
  }
  for (const std::string& folder : DataFolders()) {
    for (const std::string& entry :
         EntriesFor(Join(folder, "applications/mimeinfo.cache"), kMaxCacheBytes, "[MIME Cache]", type)) {
      if (std::string program = programOf(entry); !program.empty()) {
        return program;
      }
    }
  }
  return {};
}

}  // namespace

ProgramForFile FindProgramForFile(const std::string& file) {
  struct stat info {};
  if (file.empty() || stat(file.c_str(), &info) != 0) {
    return {kAssociationFileNotFound, {}};
  }
  const std::optional<std::string> type = MimeTypeOf(file);
  std::string program = type ? DefaultProgramFor(*type) : std::string();
  if (program.empty()) {
    return {kAssociationNone, {}};
  }
  return {kAssociationFound, std::move(program)};
}

}  // namespace qlxw::platform
