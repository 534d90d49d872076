// The file-system object: the path rules the folder subsystem relies on, against real folders.
#include <gtest/gtest.h>

#include <string>

#include "errors/lib_error.h"
#include "os/file_system.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

using platform::FileSystemObject;

using testing::Native;

TEST(FileSystemObjectTest, BuildPathPutsOneSeparatorBetweenTheParts) {
  struct Case {
    const char* left;
    const char* right;
    const char* joined;
  };
  for (const Case& c :
       {Case{"a", "b", "a/b"}, Case{"a/", "b", "a/b"}, Case{"a", "/b", "a/b"}, Case{"a/", "/b", "a/b"},
        Case{"", "b", "b"}, Case{"a", "", "a"}, Case{"", "", ""}, Case{"a/b", "c/d", "a/b/c/d"}}) {
    EXPECT_EQ(FileSystemObject().BuildPath(Native(c.left), Native(c.right)), Native(c.joined))
        << c.left << " + " << c.right;
  }
#ifdef _WIN32
  EXPECT_EQ(FileSystemObject().BuildPath("C:\\a/", "b"), "C:\\a/\\b");  // "/" is no separator here
#endif
}

TEST(FileSystemObjectTest, ParentAndLastComponent) {
  struct Case {
    const char* path;
    const char* parent;
    const char* last;
  };
  const FileSystemObject fso;
  for (const Case& c :
       {Case{"/x/y", "/x", "y"}, Case{"/x/y/", "/x", "y"}, Case{"/x/data.old", "/x", "data.old"},
        Case{"/x", "/", "x"}, Case{"/", "", ""}, Case{"name", "", "name"}, Case{"", "", ""}}) {
    EXPECT_EQ(fso.GetParentFolderName(Native(c.path)), Native(c.parent)) << c.path;
    EXPECT_EQ(fso.GetLastComponent(Native(c.path)), Native(c.last)) << c.path;
  }
}

TEST(FileSystemObjectTest, AbsolutePathsResolveDotsAgainstTheCurrentFolder) {
  const FileSystemObject fso;
  testing::ScratchFolder folder;
  const std::string base = folder.Path().string();
  EXPECT_EQ(fso.GetAbsolutePathName(base + Native("/a/../b/./c/")), base + Native("/b/c"));
  const std::string relative = fso.GetAbsolutePathName("rel");
  EXPECT_EQ(fso.GetLastComponent(relative), "rel");
  EXPECT_TRUE(fso.FolderExists(fso.GetParentFolderName(relative)));
}

TEST(FileSystemObjectTest, CreatesOneLevelAndFailsWithTheRuntimesNumbers) {
  const auto fso = platform::GetFileSystemObject();
  EXPECT_EQ(platform::GetFileSystemObject(), fso);
  testing::ScratchFolder folder;
  const std::string made = fso->BuildPath(folder.Path().string(), "Mentések");
  EXPECT_FALSE(fso->FolderExists(made));
  fso->CreateFolder(made);
  EXPECT_TRUE(fso->FolderExists(made));
  EXPECT_FALSE(fso->FileExists(made));
  EXPECT_EQ(testing::ErrorNumberOf([&] { fso->CreateFolder(made); }), 58);
  EXPECT_EQ(testing::ErrorNumberOf([&] { fso->CreateFolder(fso->BuildPath(made, Native("a/b"))); }),
            kErrPathNotFound);
  EXPECT_EQ(testing::ErrorNumberOf([&] { fso->CreateFolder(""); }), kErrPathNotFound);
  const std::string file = fso->BuildPath(folder.Path().string(), "file");  // a name streams can open
  testing::WriteBytes(file, "x");
  EXPECT_TRUE(fso->FileExists(file));
  EXPECT_EQ(testing::ErrorNumberOf([&] { fso->CreateFolder(file); }), 58);
}

}  // namespace
}  // namespace qlxw
