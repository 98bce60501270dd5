#include "cli/mark_command.h"

#include <gtest/gtest.h>

#include "bench/bench_result.h"
#include "cli/cli_texts.h"
#include "core/ui_language.h"

namespace velora {
namespace {

TEST(MarkCommand, NoWordsIsAFullRunWithDefaults) {
  std::string error;
  const auto command = ParseMarkCommand({}, 4, kEnglish, error);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->tests, std::vector<int>{kTestOverall});
  EXPECT_EQ(command->hddSizeMb, 128);
  EXPECT_EQ(command->mask, "");
}

TEST(MarkCommand, TestNamesAndOptions) {
  std::string error;
  const auto command =
      ParseMarkCommand({"hdd", "--hdd-dir", "/data", "--hdd-size", "256MB", "--mask", "0101"},
                       4, kEnglish, error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->tests, std::vector<int>{kTestHdd});
  EXPECT_EQ(command->hddDir, "/data");
  EXPECT_EQ(command->hddSizeMb, 256);
  EXPECT_EQ(command->mask, "0101");
  EXPECT_EQ(TestOfName("OGL"), kTestOgl);
  EXPECT_EQ(TestOfName("Mark"), kTestOverall);
}

TEST(MarkCommand, RefusesWhatCannotRun) {
  std::string error;
  // MMT and D3D run only within a full run; NET never.
  EXPECT_FALSE(ParseMarkCommand({"MMT"}, 4, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"D3D"}, 4, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"--mask", "1000"}, 4, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-size", "4096"}, 4, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-size", "12x"}, 4, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-dir"}, 4, kEnglish, error));
  EXPECT_EQ(error, "--hdd-dir needs a value");
  EXPECT_FALSE(ParseMarkCommand({"--hdd-dir"}, 4, kJapanese, error));
  EXPECT_EQ(error, "--hdd-dir には値が必要です");
}

TEST(MarkCommand, SizesBelowWhatTheEngineMeasuresAreRefused) {
  std::string error;
  for (const char* size : {"0", "1", "3", "3MB"}) {
    EXPECT_FALSE(ParseMarkCommand({"--hdd-size", size}, 4, kEnglish, error)) << size;
    EXPECT_EQ(error, "--hdd-size takes 4 to 4095 (MB)");
  }
  const auto smallest = ParseMarkCommand({"--hdd-size", "4"}, 4, kEnglish, error);
  ASSERT_TRUE(smallest);
  EXPECT_EQ(smallest->hddSizeMb, 4);
}

TEST(MarkCommand, MasksAreThoseThisMachineOffers) {
  std::string error;
  EXPECT_FALSE(ParseMarkCommand({"--mask", "1111"}, 2, kEnglish, error));
  EXPECT_EQ(error, "--mask takes one of the masks of this machine: 0001, 0011");
  EXPECT_TRUE(ParseMarkCommand({"--mask", "0011"}, 2, kEnglish, error));
  EXPECT_FALSE(ParseMarkCommand({"--mask", "0011"}, 1, kEnglish, error));
  EXPECT_EQ(error, "--mask takes one of the masks of this machine: 0001");
}

TEST(MarkCommand, SeveralTestsRunInTheOrderGivenAndHelpRunsNothing) {
  std::string error;
  const auto command = ParseMarkCommand({"FPU", "alu", "HDD"}, 4, kEnglish, error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->tests, (std::vector<int>{kTestFpu, kTestAlu, kTestHdd}));
  const auto help = ParseMarkCommand({"ALU", "--help"}, 4, kEnglish, error);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->help);
}

TEST(CliLanguage, LocaleVariablesInTheirOrderThenTheSettingsFile) {
  EXPECT_EQ(CliLanguage("ja_JP.UTF-8", "C", "C", "en"), kJapanese);
  EXPECT_EQ(CliLanguage("", "ja_JP.UTF-8", "C", "en"), kJapanese) << "empty LC_ALL is unset";
  EXPECT_EQ(CliLanguage(nullptr, "C", "ja_JP.UTF-8", "jp"), kEnglish);
  EXPECT_EQ(CliLanguage(nullptr, nullptr, "en_GB.UTF-8", "jp"), kEnglish);
  EXPECT_EQ(CliLanguage(nullptr, nullptr, nullptr, "en"), kEnglish);
  EXPECT_EQ(CliLanguage(nullptr, nullptr, nullptr, "jp"), kJapanese);
  EXPECT_EQ(std::string(CliTextOf(CliText::kStopped, kJapanese)), "停止しました");
}

}  // namespace
}  // namespace velora
