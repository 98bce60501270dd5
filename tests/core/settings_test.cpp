#include "core/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/app_paths.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;

TEST(Settings, MissingFileGivesEveryDefaultOfTheTable) {
  TempFolder dir;
  Settings settings(dir.file("velora09.ini"));
  EXPECT_EQ(settings.ReadSetting("Language"), "jp");
  EXPECT_EQ(settings.ReadSetting("Alpha"), "255");
  EXPECT_EQ(settings.ReadSetting("EnableAlpha"), "0");
  EXPECT_EQ(settings.ReadSetting("CqDualWaitTime"), "1000");
  EXPECT_EQ(settings.ReadSetting("BackgroundImage"), "");
  EXPECT_EQ(settings.ReadSetting("DisableWMI_VIDEO"), "0");
  EXPECT_EQ(settings.Read("Info", "Password"), "");
}

TEST(Settings, ReadIntUsesZeroAsDefaultAndAtoiConversion) {
  TempFolder dir;
  WriteText(dir.file("v.ini"), "[Setting]\nSafeMode=2\nDisableWMI=1 (on)\nAlpha=abc\n");
  Settings settings(dir.file("v.ini"));
  EXPECT_EQ(settings.ReadInt("SafeMode"), 2);
  EXPECT_EQ(settings.ReadInt("DisableWMI"), 1);
  EXPECT_EQ(settings.ReadInt("Alpha"), 0);
  // Not the table's default: the integer reader's own default is "0".
  EXPECT_EQ(settings.ReadInt("CqDualWaitTime"), 0);
}

TEST(Settings, InfoValuesHoldMoreThanSettingValues) {
  TempFolder dir;
  std::string longText(1000, 'n');
  WriteText(dir.file("v.ini"),
            "[Setting]\nBackgroundImage=" + longText + "\n[Info]\nWeb=" + longText + "\n");
  Settings settings(dir.file("v.ini"));
  EXPECT_EQ(settings.ReadSetting("BackgroundImage").size(), 255u);
  EXPECT_EQ(settings.Read("Info", "Web").size(), 1000u);
}

TEST(Settings, WriteThenReadBack) {
  TempFolder dir;
  Settings settings(dir.file("v.ini"));
  EXPECT_TRUE(settings.WriteSetting("Language", "en"));
  EXPECT_TRUE(settings.Write("Info", "UserName", "Taro"));
  EXPECT_EQ(settings.ReadSetting("Language"), "en");
  EXPECT_EQ(settings.Read("Info", "UserName"), "Taro");
}

TEST(Settings, EveryKeyOfTheTableIsUniqueWithinItsSection) {
  for (size_t i = 0; i < kSettingKeys.size(); ++i) {
    for (size_t j = i + 1; j < kSettingKeys.size(); ++j) {
      EXPECT_FALSE(std::string(kSettingKeys[i].section) == kSettingKeys[j].section &&
                   std::string(kSettingKeys[i].key) == kSettingKeys[j].key)
          << kSettingKeys[i].key;
    }
  }
}

TEST(ProgramPaths, SettingsAndLogAreNamedAfterTheProgramFile) {
  PathEnvironment env;
  env.programFolderWritable = true;
  EXPECT_EQ(SettingsPathFor("/opt/velora/velora09", env), "/opt/velora/velora09.ini");
  EXPECT_EQ(LogPathFor("/opt/velora/velora09", env), "/opt/velora/velora09.log");
  // A renamed program has files of its own.
  EXPECT_EQ(SettingsPathFor("/opt/velora/bench", env), "/opt/velora/bench.ini");
  EXPECT_EQ(LogPathFor("/opt/velora/bench.bin", env), "/opt/velora/bench.log");
}

TEST(ProgramPaths, ADotInAFolderNameIsNoExtension) {
  PathEnvironment env;
  EXPECT_EQ(ProgramNameOf("/home/u/velora-0.9/velora09"), "velora09");
  EXPECT_EQ(SettingsPathFor("/home/u/velora-0.9/velora09", env), "/home/u/velora-0.9/velora09.ini");
  EXPECT_EQ(ProgramNameOf("/a.b/c.d/prog.x"), "prog");
  EXPECT_EQ(ProgramNameOf("/a/.hidden"), ".hidden");
}

TEST(ProgramPaths, UnwritableFolderMovesThemToTheUserFolders) {
  PathEnvironment env;
  env.programFolderWritable = false;
  env.home = "/home/u";
  EXPECT_EQ(SettingsPathFor("/usr/bin/velora09", env), "/home/u/.config/velora09/velora09.ini");
  EXPECT_EQ(LogPathFor("/usr/bin/velora09", env), "/home/u/.local/state/velora09/velora09.log");
  env.xdgConfigHome = "/cfg";
  env.xdgStateHome = "relative/ignored";
  EXPECT_EQ(SettingsPathFor("/usr/bin/bench", env), "/cfg/velora09/bench.ini");
  EXPECT_EQ(LogPathFor("/usr/bin/bench", env), "/home/u/.local/state/velora09/bench.log");
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

TEST(ProgramPaths, WithoutHomeTheUserFoldersComeFromThePasswordDatabase) {
  const char* saved = std::getenv("HOME");
  const std::string savedValue = saved != nullptr ? saved : "";
  unsetenv("HOME");
  const PathEnvironment env = CurrentPathEnvironment("/nonexistent-program-folder");
  if (saved != nullptr) setenv("HOME", savedValue.c_str(), 1);
  const passwd* entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(env.home, entry->pw_dir);
  EXPECT_FALSE(env.programFolderWritable);
  PathEnvironment bare = env;
  bare.xdgConfigHome.clear();
  bare.xdgStateHome.clear();
  const std::string settings = SettingsPathFor("/opt/velora/velora09", bare);
  EXPECT_EQ(settings.rfind(std::string(entry->pw_dir), 0), 0u) << settings;
  EXPECT_NE(settings.rfind("/.config/", 0), 0u) << "at the top of the file system: " << settings;
}

TEST(ProgramPaths, AnInstalledProgramKeepsItsFilesInTheUserFolders) {
  testing::TempFolder prefix;
  std::filesystem::create_directories(prefix.path() + "/bin");
  EXPECT_TRUE(CurrentPathEnvironment(prefix.path() + "/bin").programFolderWritable)
      << "a writable folder of its own";
  std::filesystem::create_directories(prefix.path() + "/share/velora09");
  EXPECT_FALSE(CurrentPathEnvironment(prefix.path() + "/bin").programFolderWritable)
      << "writable, but an install";
}

}  // namespace
}  // namespace velora
