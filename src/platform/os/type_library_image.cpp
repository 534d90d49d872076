#include "os/type_library_image.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qlxw::platform {
namespace {

// Little-endian fields at a checked position of the bytes.
class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Size() const noexcept { return bytes_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t length) const noexcept {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  std::optional<std::uint16_t> U16(std::uint64_t offset) const noexcept {
    if (!Has(offset, 2)) {
      return std::nullopt;
    }
    return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8U));
  }
  std::optional<std::uint32_t> U32(std::uint64_t offset) const noexcept {
    if (!Has(offset, 4)) {
      return std::nullopt;
    }
    return Byte(offset) | (Byte(offset + 1) << 8U) | (Byte(offset + 2) << 16U) | (Byte(offset + 3) << 24U);
  }
  std::string_view Slice(std::uint64_t offset, std::uint64_t length) const noexcept {
    // Inside the bytes, so both fit a size_t even where it has 32 bits.
    return Has(offset, length)
               ? bytes_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length))
               : std::string_view();
  }

 private:
  std::uint32_t Byte(std::uint64_t offset) const noexcept {
    return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset)]);
  }

  std::string_view bytes_;
};

constexpr std::string_view kNotProgramFile = "not a program file nor a type library";
constexpr std::string_view kDamagedProgramFile = "a damaged program file";
constexpr std::string_view kNoTypeLibrary = "the program file holds no type library";
constexpr std::string_view kDamagedTypeLibrary = "a damaged type library";
constexpr std::string_view kUnnamedTypeLibrary = "the type library has no name";
constexpr std::string_view kOlderFormat = "a type library of the older SLTG format, which is not read";

TypeLibraryNameFound Problem(std::string_view problem) {
  return {{}, problem};
}

// ---- the type library (MSFT, what MIDL and widl write) ------------------------------------------

constexpr std::uint32_t kMsftMagic = 0x5446534DU;  // "MSFT"
constexpr std::uint32_t kSltgMagic = 0x47544C53U;  // "SLTG"
constexpr std::uint32_t kHeaderSize = 0x54;
constexpr std::uint32_t kFlagsAt = 0x14;
constexpr std::uint32_t kTypeInfoCountAt = 0x20;
constexpr std::uint32_t kNameOffsetAt = 0x38;
constexpr std::uint32_t kHelpDllFlag = 0x100;  // one more field before the type information offsets
constexpr std::uint32_t kSegmentSize = 16;
constexpr std::uint32_t kNameTableSegment = 7;
constexpr std::uint32_t kNameEntryHeader = 12;  // type reference, hash link, length
constexpr std::uint32_t kNoOffset = 0xFFFFFFFFU;

TypeLibraryNameFound NameOfTypeLibrary(std::string_view library) {
  const Bytes bytes(library);
  const auto magic = bytes.U32(0);
  if (magic == kSltgMagic) {
    return Problem(kOlderFormat);
  }
  const auto flags = bytes.U32(kFlagsAt);
  const auto typeInfos = bytes.U32(kTypeInfoCountAt);
  const auto nameOffset = bytes.U32(kNameOffsetAt);
  if (magic != kMsftMagic || !bytes.Has(0, kHeaderSize) || !flags || !typeInfos || !nameOffset) {
    return Problem(kDamagedTypeLibrary);
  }
  if (*nameOffset == kNoOffset) {
    return Problem(kUnnamedTypeLibrary);
  }
  const std::uint64_t segments =
      kHeaderSize + std::uint64_t{4} * *typeInfos + ((*flags & kHelpDllFlag) != 0 ? 4 : 0);
  const std::uint64_t nameTable = segments + std::uint64_t{kNameTableSegment} * kSegmentSize;
  const auto tableAt = bytes.U32(nameTable);
  const auto tableSize = bytes.U32(nameTable + 4);
  if (!tableAt || !tableSize || !bytes.Has(*tableAt, *tableSize) ||
      std::uint64_t{*nameOffset} + kNameEntryHeader > *tableSize) {
    return Problem(kDamagedTypeLibrary);
  }
  const std::uint64_t entry = std::uint64_t{*tableAt} + *nameOffset;
  const std::uint32_t length = *bytes.U32(entry + 8) & 0xFFU;
  if (std::uint64_t{*nameOffset} + kNameEntryHeader + length > *tableSize) {
    return Problem(kDamagedTypeLibrary);
  }
  if (length == 0) {
    return Problem(kUnnamedTypeLibrary);
  }
  return {std::string(bytes.Slice(entry + kNameEntryHeader, length)), {}};
}

// ---- the program file (PE) and its resources ----------------------------------------------------

constexpr std::uint16_t kDosMagic = 0x5A4D;     // "MZ"
constexpr std::uint32_t kPeSignature = 0x4550;  // "PE\0\0"
constexpr std::uint32_t kPeHeaderAt = 0x3C;
constexpr std::uint16_t kOptionalHeader32 = 0x10B;
constexpr std::uint16_t kOptionalHeader64 = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kHighBit = 0x80000000U;
constexpr std::uint32_t kTypeLibraryResourceId = 1;

// Where the file's sections put their relative virtual addresses.
class SectionMap {
 public:
  SectionMap(const Bytes& bytes, std::uint64_t headers, std::uint16_t count)
      : bytes_(bytes), headers_(headers), count_(count) {}

  // The bytes from the address to the end of the section that holds it; empty when none does.
  std::string_view From(std::uint32_t address) const {
    for (std::uint32_t i = 0; i < count_; ++i) {
      const std::uint64_t header = headers_ + std::uint64_t{i} * kSectionHeaderSize;
      const auto start = bytes_.U32(header + 12);
      const auto rawSize = bytes_.U32(header + 16);
      const auto rawAt = bytes_.U32(header + 20);
      if (!start || !rawSize || !rawAt) {
        return {};
      }
      if (address >= *start && address - *start < *rawSize) {
        const std::uint64_t inside = address - *start;
        const std::uint64_t rest = *rawSize - inside;
        const std::uint64_t at = *rawAt + inside;
        return bytes_.Has(at, 0) ? bytes_.Slice(at, std::min<std::uint64_t>(rest, bytes_.Size() - at)) : "";
      }
    }
    return {};
  }

 private:
  const Bytes& bytes_;
  std::uint64_t headers_;
  std::uint16_t count_;
};

// The resource tree, within its own section: directories hold entries that name or number what they
// lead to, every offset counted from the tree's root.
class ResourceTree {
 public:
  explicit ResourceTree(std::string_view section) : bytes_(section) {}

  // The entry's target with the name or number wanted; a name is matched without regard to the case
  // of its ASCII letters.
  std::optional<std::uint32_t> Find(std::uint32_t directory, std::string_view name, std::uint32_t id) const {
    const auto named = bytes_.U16(std::uint64_t{directory} + 12);
    const auto numbered = bytes_.U16(std::uint64_t{directory} + 14);
    if (!named || !numbered) {
      return std::nullopt;
    }
    for (std::uint32_t i = 0; i < std::uint32_t{*named} + *numbered; ++i) {
      const std::uint64_t entry = std::uint64_t{directory} + 16 + std::uint64_t{i} * 8;
      const auto key = bytes_.U32(entry);
      const auto target = bytes_.U32(entry + 4);
      if (!key || !target) {
        return std::nullopt;
      }
      const bool isNamed = (*key & kHighBit) != 0;
      if (isNamed ? NameIs(*key & ~kHighBit, name) : (name.empty() && (*key & 0xFFFFU) == id)) {
        return target;
      }
    }
    return std::nullopt;
  }

  // The first entry of a directory (any language).
  std::optional<std::uint32_t> First(std::uint32_t directory) const {
    const auto named = bytes_.U16(std::uint64_t{directory} + 12);
    const auto numbered = bytes_.U16(std::uint64_t{directory} + 14);
    if (!named || !numbered || *named + *numbered == 0) {
      return std::nullopt;
    }
    return bytes_.U32(std::uint64_t{directory} + 16 + 4);
  }

  const Bytes& Data() const noexcept { return bytes_; }

 private:
  // A resource name: a 16-bit length and that many UTF-16 units.
  bool NameIs(std::uint32_t at, std::string_view wanted) const {
    const auto length = bytes_.U16(at);
    if (!length || *length != wanted.size() || !bytes_.Has(std::uint64_t{at} + 2, 2 * wanted.size())) {
      return false;
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      std::uint32_t unit = *bytes_.U16(std::uint64_t{at} + 2 + 2 * i);
      if (unit >= 'a' && unit <= 'z') {
        unit -= 'a' - 'A';
      }
      if (unit != static_cast<unsigned char>(wanted[i])) {
        return false;
      }
    }
    return true;
  }

  Bytes bytes_;
};

// What a step over a program file found, or why there is nothing to find.
template <class T>
struct Found {
  T value{};
  std::string_view problem;
};

// Where a program file keeps its section headers and its resource tree.
struct ProgramLayout {
  std::uint64_t sectionHeaders = 0;
  std::uint16_t sectionCount = 0;
  std::uint32_t resources = 0;  // the resource tree's address
};

// The resource tree's address from the optional header's data directories, which begin with their
// count at `countAt`.
Found<std::uint32_t> ResourceTreeAddress(const Bytes& bytes, std::uint64_t countAt) {
  const auto directoryCount = bytes.U32(countAt);
  if (!directoryCount) {
    return {0, kDamagedProgramFile};
  }
  if (*directoryCount <= kResourceDirectory) {
    return {0, kNoTypeLibrary};
  }
  const auto resources = bytes.U32(countAt + 4 + std::uint64_t{kResourceDirectory} * 8);
  if (!resources) {
    return {0, kDamagedProgramFile};
  }
  if (*resources == 0) {
    return {0, kNoTypeLibrary};
  }
  return {*resources, {}};
}

// The program header, then its optional header (of a 32-bit or a 64-bit program).
Found<ProgramLayout> LayoutOf(const Bytes& bytes) {
  const auto peAt = bytes.U32(kPeHeaderAt);
  if (!peAt || bytes.U32(*peAt) != kPeSignature) {
    return {{}, kNotProgramFile};
  }
  const std::uint64_t coff = std::uint64_t{*peAt} + 4;
  const auto sectionCount = bytes.U16(coff + 2);
  const auto optionalSize = bytes.U16(coff + 16);
  const std::uint64_t optional = coff + 20;
  const auto kind = bytes.U16(optional);
  if (!sectionCount || !optionalSize || !kind || (*kind != kOptionalHeader32 && *kind != kOptionalHeader64)) {
    return {{}, kDamagedProgramFile};
  }
  const auto resources = ResourceTreeAddress(bytes, optional + (*kind == kOptionalHeader32 ? 92 : 108));
  return {{optional + *optionalSize, *sectionCount, resources.value}, resources.problem};
}

// The data entry of type "TYPELIB", resource 1, the first language.
Found<std::uint32_t> TypeLibraryEntry(const ResourceTree& tree) {
  const auto byType = tree.Find(0, "TYPELIB", 0);
  if (!byType || (*byType & kHighBit) == 0) {
    return {0, kNoTypeLibrary};
  }
  const auto byId = tree.Find(*byType & ~kHighBit, {}, kTypeLibraryResourceId);
  if (!byId || (*byId & kHighBit) == 0) {
    return {0, kNoTypeLibrary};
  }
  const auto byLanguage = tree.First(*byId & ~kHighBit);
  if (!byLanguage || (*byLanguage & kHighBit) != 0) {
    return {0, kDamagedProgramFile};
  }
  return {*byLanguage, {}};
}

// The bytes a data entry of the tree gives the address and size of.
Found<std::string_view> DataOf(const ResourceTree& tree, const SectionMap& sections, std::uint32_t entry) {
  const auto dataAddress = tree.Data().U32(entry);
  const auto dataSize = tree.Data().U32(std::uint64_t{entry} + 4);
  if (!dataAddress || !dataSize) {
    return {{}, kDamagedProgramFile};
  }
  const std::string_view data = sections.From(*dataAddress);
  if (data.size() < *dataSize) {
    return {{}, kDamagedProgramFile};
  }
  return {data.substr(0, *dataSize), {}};
}

TypeLibraryNameFound NameInProgramFile(const Bytes& bytes) {
  const Found<ProgramLayout> layout = LayoutOf(bytes);
  if (!layout.problem.empty()) {
    return Problem(layout.problem);
  }
  const SectionMap sections(bytes, layout.value.sectionHeaders, layout.value.sectionCount);
  const ResourceTree tree(sections.From(layout.value.resources));
  const Found<std::uint32_t> entry = TypeLibraryEntry(tree);
  if (!entry.problem.empty()) {
    return Problem(entry.problem);
  }
  const Found<std::string_view> data = DataOf(tree, sections, entry.value);
  if (!data.problem.empty()) {
    return Problem(data.problem);
  }
  return NameOfTypeLibrary(data.value);
}

}  // namespace

TypeLibraryNameFound FindTypeLibraryName(std::string_view fileBytes) {
  const Bytes bytes(fileBytes);
  const auto magic = bytes.U32(0);
  if (magic && (*magic == kMsftMagic || *magic == kSltgMagic)) {
    return NameOfTypeLibrary(fileBytes);
  }
  if (bytes.U16(0) == kDosMagic) {
    return NameInProgramFile(bytes);
  }
  return Problem(kNotProgramFile);
}

std::string_view TypeLibraryStartProblem(std::string_view start) {
  const Bytes bytes(start.substr(0, kTypeLibraryFileStart));
  const auto magic = bytes.U32(0);
  if (magic && (*magic == kMsftMagic || *magic == kSltgMagic)) {
    return {};
  }
  if (bytes.U16(0) != kDosMagic) {
    return kNotProgramFile;
  }
  // The program header's mark, where it lies among these bytes.
  const auto peAt = bytes.U32(kPeHeaderAt);
  if (peAt && bytes.Has(*peAt, 4) && bytes.U32(*peAt) != kPeSignature) {
    return kNotProgramFile;
  }
  return {};
}

}  // namespace qlxw::platform
