#pragma once
// Small program files for the tests: a type library of the format MIDL and widl write, holding only
// its name, and a 64-bit PE file carrying a resource.
#include <cstdint>
#include <string>
#include <string_view>

namespace qlxw::testing {

inline void PutU16(std::string& bytes, std::uint32_t value) {
  bytes.push_back(static_cast<char>(value & 0xFFU));
  bytes.push_back(static_cast<char>((value >> 8U) & 0xFFU));
}

inline void PutU32(std::string& bytes, std::uint32_t value) {
  PutU16(bytes, value & 0xFFFFU);
  PutU16(bytes, value >> 16U);
}

// A type library named `name`; `nameOffset` 0xFFFFFFFF makes it nameless.
inline std::string TypeLibraryBytes(std::string_view name, std::uint32_t nameOffset = 0) {
  constexpr std::uint32_t kHeaderSize = 0x54;
  constexpr std::uint32_t kSegments = 15;
  std::string bytes = "MSFT";
  // version, library id, two locales, flags (win32), version, flags, no type information
  for (const std::uint32_t field : {0x00010002U, 0U, 0x409U, 0U, 0x41U, 0U, 0U, 0U}) {
    PutU32(bytes, field);
  }
  // help string and contexts, one name in the table, the library's name, no help file nor custom data
  for (const std::uint32_t field : {0xFFFFFFFFU, 0U, 0U, 1U, static_cast<std::uint32_t>(name.size()),
                                    nameOffset, 0xFFFFFFFFU, 0xFFFFFFFFU, 0x20U, 0x80U, 0xFFFFFFFFU, 0U}) {
    PutU32(bytes, field);
  }
  const std::uint32_t namesAt = kHeaderSize + kSegments * 16;
  const std::uint32_t namesSize = 12 + ((static_cast<std::uint32_t>(name.size()) + 3U) & ~3U);
  for (std::uint32_t segment = 0; segment < kSegments; ++segment) {
    PutU32(bytes, segment == 7 ? namesAt : 0xFFFFFFFFU);
    PutU32(bytes, segment == 7 ? namesSize : 0U);
    PutU32(bytes, 0xFFFFFFFFU);
    PutU32(bytes, 0x0FU);
  }
  PutU32(bytes, 0xFFFFFFFFU);  // no type information of this name
  PutU32(bytes, 0xFFFFFFFFU);  // no next name of the same hash
  PutU32(bytes, static_cast<std::uint32_t>(name.size()));
  bytes.append(name);
  bytes.append(namesAt + namesSize - bytes.size(), 'W');
  return bytes;
}

// A 64-bit PE file whose resource section holds `data` as resource `id` of the named type.
inline std::string ProgramFileBytes(const std::string& data, std::u16string_view type = u"TYPELIB",
                                    std::uint32_t id = 1) {
  constexpr std::uint32_t kPeAt = 0x40;
  constexpr std::uint32_t kOptionalSize = 112 + 16 * 8;
  constexpr std::uint32_t kSectionAddress = 0x1000;
  constexpr std::uint32_t kSectionAt = 0x200;
  constexpr std::uint32_t kHigh = 0x80000000U;
  // The tree: type directory, id directory, language directory, data entry, the type's name, data.
  std::string tree;
  const std::uint32_t nameAt = 0x58;
  const std::uint32_t dataAt = (nameAt + 2 + 2 * static_cast<std::uint32_t>(type.size()) + 7U) & ~7U;
  const std::uint32_t dataAddress = kSectionAddress + dataAt;
  const auto dataSize = static_cast<std::uint32_t>(data.size());
  const std::uint32_t typeEntry = kHigh | nameAt;
  const std::uint32_t fields[] = {
      0, 0, 0, 1,       typeEntry, kHigh | 0x18, 0,           0,        0, 0x10000, id, kHigh | 0x30,
      0, 0, 0, 0x10000, 0x409,     0x48,         dataAddress, dataSize, 0, 0};
  for (const std::uint32_t field : fields) {
    PutU32(tree, field);
  }
  PutU16(tree, static_cast<std::uint32_t>(type.size()));
  for (const char16_t unit : type) {
    PutU16(tree, unit);
  }
  tree.append(dataAt - tree.size(), '\0');
  tree.append(data);

  std::string bytes = "MZ";
  bytes.append(0x3C - bytes.size(), '\0');
  PutU32(bytes, kPeAt);
  bytes.append("PE\0\0", 4);
  PutU16(bytes, 0x8664);   // x64
  PutU16(bytes, 1);        // one section
  bytes.append(12, '\0');  // time stamp, no symbols
  PutU16(bytes, kOptionalSize);
  PutU16(bytes, 0x2022);  // a DLL
  const std::size_t optional = bytes.size();
  PutU16(bytes, 0x20B);  // PE32+
  bytes.append(optional + 24 - bytes.size(), '\0');
  PutU32(bytes, 0x10000000U);  // image base
  PutU32(bytes, 0);
  PutU32(bytes, 0x1000);  // section alignment
  PutU32(bytes, 0x200);   // file alignment
  for (const std::uint32_t version : {6U, 0U, 0U, 0U, 6U, 0U}) {
    PutU16(bytes, version);  // system, image and subsystem versions
  }
  PutU32(bytes, 0);
  PutU32(bytes, kSectionAddress + ((static_cast<std::uint32_t>(tree.size()) + 0xFFFU) & ~0xFFFU));
  PutU32(bytes, kSectionAt);  // size of the headers
  PutU32(bytes, 0);
  PutU16(bytes, 2);  // a windowed subsystem
  bytes.append(optional + 108 - bytes.size(), '\0');
  PutU32(bytes, 16);  // data directories
  for (std::uint32_t directory = 0; directory < 16; ++directory) {
    PutU32(bytes, directory == 2 ? kSectionAddress : 0U);
    PutU32(bytes, directory == 2 ? static_cast<std::uint32_t>(tree.size()) : 0U);
  }
  bytes.append(".rsrc\0\0\0", 8);
  for (const std::uint32_t field :
       {static_cast<std::uint32_t>(tree.size()), kSectionAddress, static_cast<std::uint32_t>(tree.size()),
        kSectionAt, 0U, 0U, 0U, 0x40000040U}) {
    PutU32(bytes, field);
  }
  bytes.append(kSectionAt - bytes.size(), '\0');
  bytes.append(tree);
  return bytes;
}

}  // namespace qlxw::testing
