#include "profile/profile_cache.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "os/file_identity.h"
#include "os/thread_state.h"
#include "profile/profile_names.h"
#include "profile/profile_reading.h"

namespace qlxw::profile {
namespace {

// Names hashed and compared as the 8-bit reads compare them: byte by byte through the fold table, so
// that two names share an entry exactly when a search would take one for the other.
struct AnsiNameHash {
  const AnsiFoldTable& fold = AnsiFold();
  std::size_t operator()(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : name) {
      hash = (hash ^ fold[static_cast<unsigned char>(c)]) * 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
  }
};

template <class Value>
using AnsiNameMap = std::unordered_map<std::string_view, Value, AnsiNameHash, AnsiNameEquals>;

struct IndexedSection {
  std::size_t nameEnd = 0;
  std::unique_ptr<AnsiNameMap<std::string_view>> keys;  // made on the section's first read
};

// The first header of each section name; then, section by section, the first line of each key.
class AnsiIndex {
 public:
  explicit AnsiIndex(std::string_view text) : text_(text) {
    std::size_t from = 0;
    std::size_t lineStart = 0;
    while (NextHeader(text, from, lineStart)) {
      const std::string_view name = HeaderName(text, from);
      sections_.try_emplace(name, IndexedSection{from, nullptr});
    }
  }

  std::optional<std::string_view> Value(std::string_view section, std::string_view key) {
    const auto found = sections_.find(TrimSpaces(section));
    if (found == sections_.end()) {
      return std::nullopt;
    }
    IndexedSection& indexed = found->second;
    if (!indexed.keys) {
      indexed.keys = std::make_unique<AnsiNameMap<std::string_view>>();
      LineScanner<char> scanner(text_.substr(NextLineStart(text_, indexed.nameEnd)));
      Line<char> line;
      while (scanner.Next(line) && line.kind != LineKind::kHeader) {
        if (line.kind == LineKind::kKey) {
          indexed.keys->try_emplace(line.name, Unquote(line.value));
        }
      }
    }
    const auto value = indexed.keys->find(TrimSpaces(key));
    return value == indexed.keys->end() ? std::nullopt : std::optional<std::string_view>(value->second);
  }

 private:
  std::string_view text_;
  AnsiNameMap<IndexedSection> sections_;
};

// Copies bigger than this are not kept, nor more than this in all, nor more files than this.
constexpr std::size_t kLargestKeptFile = std::size_t{4} << 20;
constexpr std::size_t kMostKeptBytes = std::size_t{16} << 20;
constexpr std::size_t kMostKeptFiles = 64;

}  // namespace

// Whether the file's stamps follow every change at once: asked of its file system before a kept copy
// first answers. A network file system's may lag, and its files are then read every time.
enum class StampTrust { kUnasked, kFollowsChanges, kMayLag };

struct CachedProfile {
  platform::FileStamp stamp;
  bool settled = false;  // the stamp was settled when the copy was read
  StampTrust stamps = StampTrust::kUnasked;
  std::string bytes;
  std::unique_ptr<AnsiIndex> index;  // made on the first read served from the copy
  std::uint64_t lastUse = 0;
};

namespace {

struct ProfileCache {
  std::unordered_map<std::string, CachedProfile> files;
  std::uint64_t uses = 0;
};

// Kept to the end of the thread, with the read buffers: INI managers read while they end.
using ProfileCacheSlot = platform::ThreadState<ProfileCache, platform::EndStage::kBuffers>;

// Drops the least recently used copies (other than `keep`) until the cache is within its limits.
void MakeRoom(ProfileCache& cache, const CachedProfile& keep) {
  for (;;) {
    std::size_t total = 0;
    auto oldest = cache.files.end();
    for (auto it = cache.files.begin(); it != cache.files.end(); ++it) {
      total += it->second.bytes.capacity();
      if (&it->second != &keep &&
          (oldest == cache.files.end() || it->second.lastUse < oldest->second.lastUse)) {
        oldest = it;
      }
    }
    if ((total <= kMostKeptBytes && cache.files.size() <= kMostKeptFiles) || oldest == cache.files.end()) {
      return;
    }
    cache.files.erase(oldest);
  }
}

// What asking the file said of this thread's copy of it.
enum class CopyState {
  kUnchanged,  // the copy's settled stamp is still the file's: the copy holds the file
  kRead,       // the file was read into the copy
  kUnread,     // missing, unreadable, or (its stamp says) too large to keep
};

struct CopyCheck {
  CopyState state = CopyState::kUnread;
  std::optional<platform::FileStamp> stamp;  // the file's, when it could be had
  std::int64_t queriedAt = 0;                // the time just before the stamp was asked
};

// Asks the file whether the copy still holds it and, when not, reads it into the copy.
CopyCheck CheckCopy(const std::string& fileName, CachedProfile& file) {
  CopyCheck check;
  check.queriedAt = platform::FileClockNow();
  bool read = false;
  if (file.settled) {
    // Only a settled copy can answer: its stamp tells whether the file changed.
    check.stamp = platform::QueryFileStamp(fileName);
    if (check.stamp && *check.stamp == file.stamp) {
      check.state = CopyState::kUnchanged;
      return check;
    }
    file.index.reset();
    read = check.stamp && check.stamp->size <= kLargestKeptFile &&
           ReadProfileFile(fileName, static_cast<std::size_t>(check.stamp->size), file.bytes);
  } else {
    // Read again whatever its stamp says: the stamp comes with the bytes.
    file.index.reset();
    read = platform::ReadFileAndStamp(fileName, kMaxProfileBytes, file.bytes, check.stamp).Ok();
  }
  check.state = read ? CopyState::kRead : CopyState::kUnread;
  return check;
}

// Keeps a copy just read, with the stamp that came with it, when it is small enough; false when it is
// not to be kept.
bool KeepCopy(ProfileCache& cache, CachedProfile& file, const CopyCheck& check) {
  if (check.state != CopyState::kRead || !check.stamp || check.stamp->size > kLargestKeptFile) {
    return false;
  }
  // A file that changed between its stamp and its read holds more or less than the stamp says.
  file.stamp = *check.stamp;
  file.settled =
      platform::StampSettled(*check.stamp, check.queriedAt) && file.bytes.size() == check.stamp->size;
  file.lastUse = ++cache.uses;
  MakeRoom(cache, file);
  return true;
}

// Forgets a copy that is not kept. A network file's entry stays, empty, to say that its copies never
// are.
void DropCopy(ProfileCache& cache, std::unordered_map<std::string, CachedProfile>::iterator entry) {
  if (entry->second.stamps != StampTrust::kMayLag) {
    cache.files.erase(entry);
  } else {
    entry->second.bytes = std::string();
  }
}

}  // namespace

ProfileContent::ProfileContent(const std::string& fileName) {
  ProfileCache& cache = ProfileCacheSlot::Get();
  const auto entry = cache.files.try_emplace(fileName).first;
  CachedProfile& file = entry->second;
  if (file.stamps == StampTrust::kMayLag) {
    bytes_.emplace<ProfileFileBytes>(fileName);  // a network file: read every time, its stamp never asked
    return;
  }
  const CopyCheck check = CheckCopy(fileName, file);
  if (check.state == CopyState::kUnchanged && file.stamps == StampTrust::kUnasked) {
    // The file system decides whether a copy may answer at all, asked before a copy's first answer
    // rather than at the first read: a file read once never asks (under Wine the question is a round
    // trip to another process, most of a first read's time).
    file.stamps = platform::StampsFollowChanges(fileName) ? StampTrust::kFollowsChanges : StampTrust::kMayLag;
    if (file.stamps == StampTrust::kMayLag) {
      DropCopy(cache, entry);
      bytes_.emplace<ProfileFileBytes>(fileName);
      return;
    }
  }
  if (check.state == CopyState::kUnchanged) {
    file.lastUse = ++cache.uses;
    bytes_.emplace<Copy>(Copy{&file, true});
    return;
  }
  if (KeepCopy(cache, file, check)) {
    bytes_.emplace<Copy>(Copy{&file, false});
    return;
  }
  // Missing, unreadable or too large to keep: read as without a cache.
  if (check.state == CopyState::kRead) {
    bytes_.emplace<std::string>(std::move(file.bytes));
  } else if (check.stamp) {
    bytes_.emplace<ProfileFileBytes>(fileName);  // too large to keep: read it on its own
  }
  DropCopy(cache, entry);
}

ProfileContent::~ProfileContent() = default;

std::optional<std::string_view> ProfileContent::Bytes() const {
  if (const Copy* copy = std::get_if<Copy>(&bytes_)) {
    return copy->file->bytes;
  }
  if (const std::string* unkept = std::get_if<std::string>(&bytes_)) {
    return *unkept;
  }
  const ProfileFileBytes* own = std::get_if<ProfileFileBytes>(&bytes_);
  return own != nullptr ? own->Bytes() : std::nullopt;
}

std::optional<std::string_view> ProfileContent::AnsiValue(std::string_view section,
                                                          std::string_view key) const {
  if (const Copy* copy = std::get_if<Copy>(&bytes_); copy != nullptr && copy->fromEarlierRead) {
    CachedProfile& file = *copy->file;
    if (!file.index) {
      file.index = std::make_unique<AnsiIndex>(file.bytes);
    }
    return file.index->Value(section, key);
  }
  const auto bytes = Bytes();
  if (!bytes) {
    return std::nullopt;
  }
  return FindValueByAnchor(*bytes, section, key, AnsiAnchorOf(section), AnsiNameEquals{});
}

void ForgetCachedProfile(const std::string& fileName) {
  if (ProfileCache* cache = ProfileCacheSlot::Find()) {
    cache->files.erase(fileName);
  }
}

}  // namespace qlxw::profile
