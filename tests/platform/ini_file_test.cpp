#include "platform/ini_file.h"

#include <sys/stat.h>

#include <cstdio>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

TEST(IniRead, SectionsAndKeysMatchWithoutRegardToCase) {
  TempFolder dir;
  WriteText(dir.file("a.ini"), "[setting]\r\nlanguage = en \r\n[Info]\r\nUserName=x\r\n");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "Setting", "Language", "jp"), "en");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "SETTING", "LANGUAGE", "jp"), "en");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "info", "username", ""), "x");
}

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault) {
  TempFolder dir;
  EXPECT_EQ(ReadIniString(dir.file("none.ini"), "Setting", "Alpha", "255"), "255");
  WriteText(dir.file("a.ini"), "[Info]\nAlpha=1\n[Setting]\nBeta=2\n");
  // A key of another section is not this section's key.
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "Setting", "Alpha", "255"), "255");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "Other", "Beta", "d"), "d");
}

TEST(IniRead, ValueIsCutToWhatTheBufferHolds) {
  TempFolder dir;
  WriteText(dir.file("a.ini"), "[S]\nK=" + std::string(300, 'v') + "\n");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "S", "K", "", 256).size(), 255u);
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "S", "K", "", 4096).size(), 300u);
}

TEST(IniRead, QuotedValueLosesItsQuotesAndCommentsAreNoKeys) {
  TempFolder dir;
  WriteText(dir.file("a.ini"), "[S]\n;K=comment\nK=\"a b\"\n");
  EXPECT_EQ(ReadIniString(dir.file("a.ini"), "S", "K", ""), "a b");
}

TEST(IniWrite, ReplacesTheKeyAndKeepsEveryOtherLine) {
  TempFolder dir;
  std::string path = dir.file("a.ini");
  WriteText(path,
            "; my notes\r\n[Setting]\r\nLANGUAGE=jp\r\nAlpha=200\r\n\r\n[Info]\r\nMail=m\r\n");
  ASSERT_TRUE(WriteIniString(path, "setting", "Language", "en"));
  EXPECT_EQ(ReadText(path),
            "; my notes\r\n[Setting]\r\nLanguage=en\r\nAlpha=200\r\n\r\n[Info]\r\nMail=m\r\n");
}

TEST(IniWrite, NewKeyGoesToTheEndOfItsSectionAndNewSectionToTheEndOfTheFile) {
  TempFolder dir;
  std::string path = dir.file("a.ini");
  WriteText(path, "[Setting]\nAlpha=1\n\n[Info]\nMail=m\n");
  ASSERT_TRUE(WriteIniString(path, "Setting", "Language", "jp"));
  ASSERT_TRUE(WriteIniString(path, "Extra", "Key", "v"));
  EXPECT_EQ(ReadText(path),
            "[Setting]\r\nAlpha=1\r\nLanguage=jp\r\n\r\n[Info]\r\nMail=m\r\n[Extra]\r\nKey=v\r\n");
}

TEST(IniWrite, CreatesAMissingFile) {
  TempFolder dir;
  ASSERT_TRUE(WriteIniString(dir.file("new.ini"), "Setting", "Language", "jp"));
  EXPECT_EQ(ReadText(dir.file("new.ini")), "[Setting]\r\nLanguage=jp\r\n");
}

// The file holds the ranking password in plain text.
TEST(IniWrite, FileIsCreatedAndKeptReadableByItsOwnerOnly) {
  TempFolder dir;
  const std::string path = dir.file("Velora09.ini");
  const mode_t old = umask(022);
  ASSERT_TRUE(WriteIniString(path, "Info", "Password", "secret"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  WriteText(path, "[Info]\r\nPassword=old\r\n");
  chmod(path.c_str(), 0644);
  ASSERT_TRUE(WriteIniString(path, "Info", "Password", "new"));
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  umask(old);
}

TEST(IniWrite, ReadOnlyFileAndUnwritableFolderFailWithoutChange) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  TempFolder dir;
  std::string path = dir.file("ro.ini");
  WriteText(path, "[Setting]\nLanguage=jp\n");
  chmod(path.c_str(), 0444);
  EXPECT_FALSE(WriteIniString(path, "Setting", "Language", "en"));
  EXPECT_EQ(ReadText(path), "[Setting]\nLanguage=jp\n");
  std::string sub = dir.file("locked");
  mkdir(sub.c_str(), 0555);
  EXPECT_FALSE(WriteIniString(sub + "/a.ini", "S", "K", "v"));
}

// Another user who may write the folder plants links where the settings go: a write (by root,
// say) neither empties nor chmods what they lead to, and the settings still land.
TEST(IniWrite, PlantedLinksBesideTheFileLeadNowhere) {
  TempFolder dir;
  const std::string path = dir.file("velora09.ini");
  const std::string victim = dir.file("victim");
  for (const std::string& planted : {path + ".tmp", path}) {
    WriteText(victim, "someone's data");
    chmod(victim.c_str(), 0644);
    std::remove(planted.c_str());
    ASSERT_EQ(symlink(victim.c_str(), planted.c_str()), 0);
    ASSERT_TRUE(WriteIniString(path, "Info", "Password", "secret")) << planted;
    EXPECT_EQ(ReadText(victim), "someone's data") << planted;
    struct stat info {};
    ASSERT_EQ(stat(victim.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u) << planted;
    EXPECT_EQ(ReadIniString(path, "Info", "Password", ""), "secret") << planted;
  }
}

// A FIFO or a folder where the settings should be is no settings file: read as missing, and
// not replaced by one key.
TEST(IniFile, SomethingOtherThanAFileIsNeitherWaitedOnNorReplaced) {
  TempFolder dir;
  const std::string fifo = dir.file("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadIniString(fifo, "Setting", "Language", "none"), "none");
  EXPECT_FALSE(WriteIniString(fifo, "Setting", "Language", "en"));
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(Atoi, ReadsLeadingDigitsLikeTheCLibrary) {
  EXPECT_EQ(AtoiLike("2"), 2);
  EXPECT_EQ(AtoiLike("  -15x"), -15);
  EXPECT_EQ(AtoiLike("+7"), 7);
  EXPECT_EQ(AtoiLike("x1"), 0);
  EXPECT_EQ(AtoiLike(""), 0);
  EXPECT_EQ(AtoiLike("1.9"), 1);
  EXPECT_EQ(AtoiLike("99999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace velora
