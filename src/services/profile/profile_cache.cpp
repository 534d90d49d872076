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

struct CachedProfile {
  platform::FileStamp stamp;
  bool settled = false;        // the stamp was settled when the copy was read
  bool followsChanges = true;  // false on a network file system: such files are never kept
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

}  // namespace

ProfileContent::ProfileContent(const std::string& fileName) {
  ProfileCache& cache = ProfileCacheSlot::Get();
  auto found = cache.files.find(fileName);
  if (found != cache.files.end() && !found->second.followsChanges) {
    uncached_.emplace(fileName);  // a network file: read every time, its stamp never asked
    return;
  }
  const bool known = found != cache.files.end();
  if (!known) {
    found = cache.files.try_emplace(fileName).first;
  }
  CachedProfile& file = found->second;
  const std::int64_t queriedAt = platform::FileClockNow();
  std::optional<platform::FileStamp> stamp;
  bool read = false;
  if (file.settled) {
    // Only a settled copy can answer: its stamp tells whether the file changed.
    stamp = platform::QueryFileStamp(fileName);
    if (stamp && *stamp == file.stamp) {
      cached_ = &file;
      cached_->lastUse = ++cache.uses;
      fromCopy_ = true;
      return;
    }
    file.index.reset();
    read = stamp && stamp->size <= kLargestKeptFile &&
           ReadProfileFile(fileName, static_cast<std::size_t>(stamp->size), file.bytes);
  } else {
    // Read again whatever its stamp says: the stamp comes with the bytes.
    file.index.reset();
    read = platform::ReadFileAndStamp(fileName, kMaxProfileBytes, file.bytes, stamp).Ok();
  }
  // The file system of a file read for the first time decides whether copies of it are kept at all.
  file.followsChanges = known || !read || platform::StampsFollowChanges(fileName);
  if (read && stamp && stamp->size <= kLargestKeptFile && file.followsChanges) {
    // A file that changed between its stamp and its read holds more or less than the stamp says.
    file.stamp = *stamp;
    file.settled = platform::StampSettled(*stamp, queriedAt) && file.bytes.size() == stamp->size;
    file.lastUse = ++cache.uses;
    cached_ = &file;
    MakeRoom(cache, file);
    return;
  }
  // Missing, unreadable, too large to keep or on a network: read as without a cache. A network file's
  // entry stays, empty, to say so.
  if (read) {
    large_ = std::move(file.bytes);
  } else if (stamp) {
    uncached_.emplace(fileName);  // too large to keep: read it on its own
  }
  if (file.followsChanges) {
    cache.files.erase(found);
  } else {
    file.bytes = std::string();
  }
}

ProfileContent::~ProfileContent() = default;

std::optional<std::string_view> ProfileContent::Bytes() const {
  if (cached_ != nullptr) {
    return cached_->bytes;
  }
  if (large_) {
    return *large_;
  }
  return uncached_ ? uncached_->Bytes() : std::nullopt;
}

std::optional<std::string_view> ProfileContent::AnsiValue(std::string_view section,
                                                          std::string_view key) const {
  if (fromCopy_) {
    if (!cached_->index) {
      cached_->index = std::make_unique<AnsiIndex>(cached_->bytes);
    }
    return cached_->index->Value(section, key);
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
