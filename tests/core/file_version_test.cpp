#include "core/file_version.h"

#include <cstring>

#include "core/dpkg_owner_index.h"

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

TEST(PackageNameStem, LowerCaseNameUpToTheFirstSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/lib/x86_64-linux-gnu/libX11.so.6", "libx11"},
      {"libglib-2.0.so.0", "libglib"},
      {"libgcc_s.so.1", "libgcc"},
      {"libstdc++.so.6.0.30", "libstdc++"},
      {"/lib/libQt6Core.so.6", "libqt6core"},
      {"ld-linux-x86-64.so.2", "ld"},
      {"/usr/lib/libplain", ""},
      {".so.1", ""},
  };
  for (const auto& [path, stem] : cases) EXPECT_EQ(PackageNameStem(path), stem) << path;
}

TEST(SharedObjectKey, NameAndVersionAsPackagesDeclareThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"/lib/libm.so.6", "libm 6"},
      {"libpipewire-0.3.so.0", "libpipewire-0.3 0"},
      {"ld-linux-x86-64.so.2", "ld-linux-x86-64 2"},
      {"libplain.so", ""},
      {"libodd.so.", ""},
      {".so.1", ""},
  };
  for (const auto& [path, key] : cases) EXPECT_EQ(SharedObjectKey(path), key) << path;
}

// A library in a package named otherwise (libm in libc6) is found all the same, and a changed
// status file or folder is read again rather than answered from what was read before.
TEST(FileVersion, PackagesNamedOtherwiseAndChangedDataAreFound) {
  TempFolder dir;
  WriteText(dir.file("lib/libm.so.6"), "");
  WriteText(dir.file("lib/libmd.so.0.0.5"), "");
  WriteText(dir.file("dpkg/info/libmd0:amd64.list"), dir.file("lib/libmd.so.0.0.5") + "\n");
  WriteText(dir.file("dpkg/info/libc6:amd64.list"), "/.\n" + dir.file("lib/libm.so.6") + "\n");
  WriteText(dir.file("dpkg/info/libc6:amd64.shlibs"), "libc 6 libc6 (>= 2.36)\nlibm 6 libc6 (>= 2.36)\n");
  WriteText(dir.file("dpkg/status"),
            "Package: libc6\nArchitecture: amd64\nVersion: 2.36-9\n\n"
            "Package: libmd0\nArchitecture: amd64\nVersion: 1.0.4-2\n");
  EXPECT_EQ(LibraryVersionText("libm.so.6", Isolated(dir)), "2.36");
  EXPECT_EQ(LibraryVersionText("libmd.so.0.0.5", Isolated(dir)), "1.0.4");
  // Neither named like its package nor declared: only reading every list finds it.
  WriteText(dir.file("lib/libodd.so.2"), "");
  WriteText(dir.file("dpkg/info/tools:amd64.list"), dir.file("lib/libodd.so.2") + "\n");
  WriteText(dir.file("dpkg/status"),
            "Package: libc6\nArchitecture: amd64\nVersion: 2.36-9\n\n"
            "Package: tools\nArchitecture: amd64\nVersion: 3.3-1\n");
  EXPECT_EQ(LibraryVersionText("libodd.so.2", Isolated(dir)), "3.3");

  WriteText(dir.file("dpkg/status"), "Package: libc6\nArchitecture: amd64\nVersion: 2.41-10\n");
  EXPECT_EQ(LibraryVersionText("libm.so.6", Isolated(dir)), "2.41");
  EXPECT_EQ(LibraryVersionText("libmd.so.0.0.5", Isolated(dir)), "0.0.5") << "no longer packaged";

  // A new list: the folder's time moves on (set, since file times may be coarser than a test).
  WriteText(dir.file("lib/libnew.so.3.1"), "");
  WriteText(dir.file("dpkg/info/libnew3:amd64.list"), dir.file("lib/libnew.so.3.1") + "\n");
  WriteText(dir.file("dpkg/status"), "Package: libnew3\nArchitecture: amd64\nVersion: 7.2-1\n");
  const auto folder = std::filesystem::path(dir.file("dpkg/info"));
  std::filesystem::last_write_time(folder, std::filesystem::last_write_time(folder) + std::chrono::seconds(5));
  EXPECT_EQ(LibraryVersionText("libnew.so.3.1", Isolated(dir)), "7.2");
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
