#pragma once
// Small program files for the tests: a type library of the format MIDL and widl write, holding only
// its name, and a 64-bit PE file carrying a resource.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qlxw::testing {

// Little-endian fields of `width` bytes each.
inline void Put(std::string& bytes, std::initializer_list<std::uint32_t> fields, unsigned width = 4) {
  for (const std::uint32_t field : fields) {
    for (unsigned i = 0; i < width; ++i) {
      bytes.push_back(static_cast<char>((field >> (8 * i)) & 0xFFU));
    }
  }
}

// A type library named `name`; `nameOffset` 0xFFFFFFFF makes it nameless.
inline std::string TypeLibraryBytes(std::string_view name, std::uint32_t nameOffset = 0) {
  constexpr std::uint32_t kHeaderSize = 0x54;
  constexpr std::uint32_t kSegments = 15;
  const auto size = static_cast<std::uint32_t>(name.size());
  const std::uint32_t namesAt = kHeaderSize + kSegments * 16;
  const std::uint32_t namesSize = 12 + ((size + 3U) & ~3U);
  std::string bytes = "MSFT";
  // version, library id, two locales, flags (win32), version, flags, no type information; help string
  // and contexts, one name in the table, the library's name, no help file nor custom data
  Put(bytes, {0x00010002U, 0U, 0x409U, 0U,         0x41U,       0U,          0U,    0U,    0xFFFFFFFFU, 0U,
              0U,          1U, size,   nameOffset, 0xFFFFFFFFU, 0xFFFFFFFFU, 0x20U, 0x80U, 0xFFFFFFFFU, 0U});
  for (std::uint32_t segment = 0; segment < kSegments; ++segment) {
    Put(bytes, {segment == 7 ? namesAt : 0xFFFFFFFFU, segment == 7 ? namesSize : 0U, 0xFFFFFFFFU, 0x0FU});
  }
  // no type information of this name, no next name of the same hash, the name's length, the name
  Put(bytes, {0xFFFFFFFFU, 0xFFFFFFFFU, size});
  bytes.append(name);
  bytes.append(namesAt + namesSize - bytes.size(), 'W');
  return bytes;
}

// A 64-bit PE file whose resource section holds `data` as resource `id` of the named type.
inline std::string ProgramFileBytes(const std::string& data, std::u16string_view type = u"TYPELIB",
                                    std::uint32_t id = 1) {
  constexpr std::uint32_t kSectionAddress = 0x1000;
  constexpr std::uint32_t kSectionAt = 0x200;
  constexpr std::uint32_t kHigh = 0x80000000U;
  // The tree: type directory, id directory, language directory, data entry, the type's name, data.
  constexpr std::uint32_t kNameAt = 0x58;
  const std::uint32_t dataAt = (kNameAt + 2 + 2 * static_cast<std::uint32_t>(type.size()) + 7U) & ~7U;
  std::string tree;
  Put(tree, {0, 0, 0, 1, kHigh | kNameAt, kHigh | 0x18});  // one entry by name
  Put(tree, {0, 0, 0, 0x10000, id, kHigh | 0x30});         // one entry by id
  Put(tree, {0, 0, 0, 0x10000, 0x409, 0x48});              // one language
  Put(tree, {kSectionAddress + dataAt, static_cast<std::uint32_t>(data.size()), 0, 0});
  Put(tree, {static_cast<std::uint32_t>(type.size())}, 2);
  for (const char16_t unit : type) {
    Put(tree, {unit}, 2);
  }
  tree.append(dataAt - tree.size(), '\0');
  tree.append(data);
  const auto treeSize = static_cast<std::uint32_t>(tree.size());

  std::string bytes = "MZ";
  bytes.append(0x3C - bytes.size(), '\0');
  Put(bytes, {0x40});  // where the PE header is
  bytes.append("PE\0\0", 4);
  // x64, one section, no time stamp nor symbols, the optional header's size, a DLL
  Put(bytes, {0x8664, 1, 0, 0, 0, 0, 0, 0, 112 + 16 * 8, 0x2022}, 2);
  const std::size_t optional = bytes.size();
  Put(bytes, {0x20B}, 2);  // PE32+
  bytes.append(optional + 24 - bytes.size(), '\0');
  Put(bytes, {0x10000000U, 0, 0x1000, 0x200});  // image base, section and file alignment
  Put(bytes, {6, 0, 0, 0, 6, 0}, 2);            // system, image and subsystem versions
  Put(bytes, {0, kSectionAddress + ((treeSize + 0xFFFU) & ~0xFFFU), kSectionAt, 0});  // image, headers
  Put(bytes, {2}, 2);                                                                 // a windowed subsystem
  bytes.append(optional + 108 - bytes.size(), '\0');
  Put(bytes, {16});  // data directories, the third the resources
  for (std::uint32_t directory = 0; directory < 16; ++directory) {
    Put(bytes, {directory == 2 ? kSectionAddress : 0U, directory == 2 ? treeSize : 0U});
  }
  bytes.append(".rsrc\0\0\0", 8);
  Put(bytes, {treeSize, kSectionAddress, treeSize, kSectionAt, 0U, 0U, 0U, 0x40000040U});
  bytes.append(kSectionAt - bytes.size(), '\0');
  return bytes + tree;
}

}  // namespace qlxw::testing
