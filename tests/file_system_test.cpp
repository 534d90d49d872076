// The file-system object: the path rules the folder subsystem relies on, against real folders.
#include <gtest/gtest.h>

#include <string>

#include "errors/lib_error.h"
#include "folder_test_support.h"
#include "os/file_system.h"

namespace qlxw {
namespace {

using platform::FileSystemObject;

using testing::Native;

struct JoinCase {
  const char* left;
  const char* right;
  const char* joined;
};

class BuildPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(BuildPathTest, OneSeparatorBetweenTheParts) {
  const JoinCase& c = GetParam();
  EXPECT_EQ(FileSystemObject().BuildPath(Native(c.left), Native(c.right)), Native(c.joined));
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildPathTest,
                         ::testing::Values(JoinCase{"a", "b", "a/b"}, JoinCase{"a/", "b", "a/b"},
                                           JoinCase{"a", "/b", "a/b"}, JoinCase{"a/", "/b", "a/b"},
                                           JoinCase{"", "b", "b"}, JoinCase{"a", "", "a"},
                                           JoinCase{"", "", ""}, JoinCase{"a/b", "c/d", "a/b/c/d"}));

struct ComponentCase {
  const char* path;
  const char* parent;
  const char* last;
};

class ComponentTest : public ::testing::TestWithParam<ComponentCase> {};

TEST_P(ComponentTest, ParentAndLastComponent) {
  const ComponentCase& c = GetParam();
  const FileSystemObject fso;
  EXPECT_EQ(fso.GetParentFolderName(Native(c.path)), Native(c.parent));
  EXPECT_EQ(fso.GetLastComponent(Native(c.path)), Native(c.last));
}

INSTANTIATE_TEST_SUITE_P(Cases, ComponentTest,
                         ::testing::Values(ComponentCase{"/x/y", "/x", "y"},
                                           ComponentCase{"/x/y/", "/x", "y"},
                                           ComponentCase{"/x/data.old", "/x", "data.old"},
                                           ComponentCase{"/x", "/", "x"}, ComponentCase{"/", "", ""},
                                           ComponentCase{"name", "", "name"}, ComponentCase{"", "", ""}));

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
