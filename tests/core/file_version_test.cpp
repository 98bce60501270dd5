#include "core/file_version.h"

#include <cstring>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;

// Sources that see only a test's own folders.
FileVersionSources Isolated(const TempFolder& dir) {
  FileVersionSources s;
  s.libraryFolders = {dir.file("lib")};
  s.useLdLibraryPath = false;
  s.dpkgInfoFolder = dir.file("dpkg/info");
  s.dpkgStatusFile = dir.file("dpkg/status");
  s.askLibrary = false;
  return s;
}

TEST(VersionNumber, LeadingNumberTimesHundredTruncated) {
  EXPECT_EQ(VersionNumberOf("5.81.4704.1100"), 581);
  EXPECT_EQ(VersionNumberOf("6.0.2900.2180"), 600);
  EXPECT_EQ(VersionNumberOf("1.50.1085"), 150);
  EXPECT_EQ(VersionNumberOf("4.71.3328"), 471);
  EXPECT_EQ(VersionNumberOf("4.70.0.1"), 470);
  EXPECT_EQ(VersionNumberOf("16"), 1600);
  EXPECT_EQ(VersionNumberOf(""), 0);
  EXPECT_EQ(VersionNumberOf("beta"), 0);
}

TEST(FileVersion, MissingFileGivesZeroAndLeavesTheBuffer) {
  TempFolder dir;
  char buffer[kFileVersionCapacity];
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(FileVersionText("libnothing.so.1", buffer, Isolated(dir)), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(FileVersionText(dir.file("none.so").c_str(), buffer, Isolated(dir)), 0);
  EXPECT_STREQ(buffer, "untouched");
}

TEST(FileVersion, VersionFromTheRealFileNameBehindTheLink) {
  TempFolder dir;
  WriteText(dir.file("lib/libold.so.4.71.3328"), "");
  std::filesystem::create_symlink("libold.so.4.71.3328", dir.file("lib/libold.so.4"));
  WriteText(dir.file("lib/libolder.so.4.70"), "");
  char buffer[kFileVersionCapacity] = "";
  EXPECT_EQ(FileVersionText("libold.so.4", buffer, Isolated(dir)), 471);
  EXPECT_STREQ(buffer, "4.71.3328");
  EXPECT_EQ(FileVersionText("libolder.so.4.70", buffer, Isolated(dir)), 470);
  EXPECT_STREQ(buffer, "4.70");
  EXPECT_EQ(FileVersionText("libolder.so.4.70", nullptr, Isolated(dir)), 470);
}

TEST(FileVersion, OwningPackageVersionComesBeforeTheNameSuffix) {
  TempFolder dir;
  WriteText(dir.file("lib/libpng16.so.16.39.0"), "");
  std::string listed = dir.file("lib/libpng16.so.16.39.0");
  WriteText(dir.file("dpkg/info/other:amd64.list"), "/usr/bin/other\n");
  WriteText(dir.file("dpkg/info/libpng16-16:amd64.list"), "/.\n" + listed + "\n");
  WriteText(dir.file("dpkg/status"),
            "Package: libpng16-16\nStatus: install ok installed\nArchitecture: i386\n"
            "Version: 1.6.30-1\n\n"
            "Package: libpng16-16\nStatus: install ok installed\nArchitecture: amd64\n"
            "Version: 1.6.39-2\n\n"
            "Package: zlib1g\nArchitecture: amd64\nVersion: 1:1.2.13.dfsg-1\n");
  char buffer[kFileVersionCapacity] = "";
  EXPECT_EQ(FileVersionText("libpng16.so.16.39.0", buffer, Isolated(dir)), 160);
  EXPECT_STREQ(buffer, "1.6.39");
}

TEST(FileVersion, FileWithoutAnyVersionGivesTheEmptyText) {
  TempFolder dir;
  WriteText(dir.file("lib/libplain.so"), "");
  EXPECT_EQ(LibraryVersionText("libplain.so", Isolated(dir)), "");
  EXPECT_EQ(FileVersionText("libplain.so", nullptr, Isolated(dir)), 0);
}

TEST(FileVersion, BareNameIsSearchedLikeALibraryBeingLoaded) {
  TempFolder dir;
  WriteText(dir.file("first/libx.so.1.2"), "");
  WriteText(dir.file("lib/libx.so.1.2"), "");
  FileVersionSources s = Isolated(dir);
  s.libraryFolders = {dir.file("first"), dir.file("lib")};
  EXPECT_EQ(ResolveLibraryFile("libx.so.1.2", s), dir.file("first/libx.so.1.2"));
  EXPECT_EQ(ResolveLibraryFile("", s), "");
}

TEST(FileVersion, TheCLibraryAnswersWithItsOwnVersionFunction) {
  FileVersionSources s;
  s.dpkgInfoFolder = "/nonexistent";  // no package data: the library or its name must answer
  if (ResolveLibraryFile("libc.so.6", s).empty()) GTEST_SKIP() << "no libc.so.6 here";
  // The file name alone would say "6"; the C library's own answer is its release, 2.x.
  std::string text = LibraryVersionText("libc.so.6", s);
  EXPECT_EQ(text.rfind("2.", 0), 0u) << text;
  EXPECT_GE(FileVersionText("libc.so.6", nullptr, s), 200);
}

}  // namespace
}  // namespace velora
