// Reading the name of the type library a program file carries: from PE resources on every platform's
// reader, and through the platform's own way from files.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "os/type_library.h"
#include "os/type_library_image.h"
#include "tests/support/folder_test_support.h"
#include "tests/support/type_library_fixture.h"

namespace qlxw {
namespace {

using testing::ProgramFileBytes;
using testing::TypeLibraryBytes;

std::string Cut(const std::string& bytes, std::size_t removed) {
  return bytes.substr(0, bytes.size() - removed);
}

// A name, or no name and a reason; what the first bytes alone refuse, the whole file refuses for the
// same reason.
TEST(TypeLibraryImage, NameOrReason) {
  struct Row {
    std::string bytes;
    std::string name;  // empty: no name, and a reason given
  };
  for (const Row& row :
       {Row{ProgramFileBytes(TypeLibraryBytes("QlxWHost")), "QlxWHost"},
        Row{ProgramFileBytes(TypeLibraryBytes("Host"), u"TypeLib"), "Host"},  // type in any case
        Row{TypeLibraryBytes("Lib_2"), "Lib_2"},                              // a library file itself
        Row{TypeLibraryBytes(std::string(255, 'n')), std::string(255, 'n')}, Row{"", ""}, Row{"MZ", ""},
        Row{ProgramFileBytes(TypeLibraryBytes("Host"), u"REGISTRY"), ""},
        Row{ProgramFileBytes(TypeLibraryBytes("Host"), u"TYPELIB", 2), ""},
        Row{ProgramFileBytes("not a type library"), ""},
        Row{TypeLibraryBytes("Host", 0xFFFFFFFFU), ""},  // nameless
        Row{TypeLibraryBytes("Host", 0x7FFFFFF0U), ""},  // name outside its table
        Row{Cut(TypeLibraryBytes("Host"), 5), ""},
        Row{Cut(ProgramFileBytes(TypeLibraryBytes("Host")), 5), ""},
        Row{"SLTG" + std::string(60, '\0'), ""}}) {  // the older format
    const platform::TypeLibraryNameFound found = platform::FindTypeLibraryName(row.bytes);
    EXPECT_EQ(found.name, row.name);
    EXPECT_EQ(found.problem.empty(), !row.name.empty()) << found.problem;
    const std::string_view early = platform::TypeLibraryStartProblem(row.bytes);
    EXPECT_TRUE(early.empty() || early == found.problem) << early;
  }
}

// Every prefix of a good file, and every single byte changed, is read without a fault.
TEST(TypeLibraryImageDamage, EveryCutAndChangedByteIsSafe) {
  const std::string good = ProgramFileBytes(TypeLibraryBytes("QlxWHost"));
  for (std::size_t length = 0; length < good.size(); ++length) {
    EXPECT_TRUE(platform::FindTypeLibraryName(good.substr(0, length)).name.empty()) << length;
  }
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (const char value : {char{0x00}, char{0x7F}, static_cast<char>(0x80), static_cast<char>(0xFF)}) {
      std::string changed = good;
      changed[at] = value;
      const auto found = platform::FindTypeLibraryName(changed);
      EXPECT_NE(found.name.empty(), found.problem.empty()) << at;
      const std::string_view early = platform::TypeLibraryStartProblem(changed);
      EXPECT_TRUE(early.empty() || early == found.problem) << at;
    }
  }
}

TEST(TypeLibraryName, FromFilesOrAnError) {
  testing::ScratchFolder folder;
  testing::WriteBytes(folder.File("host.dll"), ProgramFileBytes(TypeLibraryBytes("QlxWHost")));
  testing::WriteBytes(folder.File("plain.exe"), "MZ not really a program");
  EXPECT_EQ(platform::TypeLibraryName(folder.File("host.dll")), "QlxWHost");
  EXPECT_EQ(testing::ErrorNumberOf([&] { platform::TypeLibraryName(folder.File("plain.exe")); }),
            platform::kErrCannotLoadTypeLibrary);
  EXPECT_EQ(testing::ErrorNumberOf([&] { platform::TypeLibraryName(folder.File("missing.dll")); }),
            kErrFileNotFound);
  // Another kind of file is told by its first bytes, however large: beyond what is ever read whole.
  const std::string huge = folder.File("huge.dll");
  testing::WriteBytes(huge, "MZ");
  std::filesystem::resize_file(huge, std::uintmax_t{3} << 30U);  // holes, no disk
  EXPECT_EQ(testing::DescriptionOf([&] { platform::TypeLibraryName(huge); }),
            "Cannot read the type library of " + huge + ": not a program file nor a type library");
}

}  // namespace
}  // namespace qlxw
