#include "ranking/ranking_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/ui_language.h"
#include "ranking/choice_lists.h"
#include "ranking/clock_figures.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

RankingForm Complete() {
  RankingForm f;
  f.userName = "u";
  f.cpuName = "c";
  f.machineName = "m";
  f.country = "JP";
  f.password = "p";
  f.chipSet = "cs";
  f.video = "v";
  f.memory = "mem";
  f.disk = "d";
  f.clock = f.clockOriginal = "2400";
  f.systemClock = f.systemClockOriginal = "200";
  f.multiplier = f.multiplierOriginal = "12";
  return f;
}

TEST(CheckForm, RequiredFieldsThenClocksInOrder) {
  EXPECT_EQ(CheckForm(Complete()), std::nullopt);
  for (std::string RankingForm::*field :
       {&RankingForm::userName, &RankingForm::cpuName, &RankingForm::machineName,
        &RankingForm::country, &RankingForm::password, &RankingForm::chipSet, &RankingForm::video,
        &RankingForm::memory, &RankingForm::disk}) {
    RankingForm f = Complete();
    f.*field = "";
    f.clock = "0";  // a bad clock too: the missing field is named first
    EXPECT_EQ(CheckForm(f), FormProblem::kMissingField);
  }
  for (std::string RankingForm::*field :
       {&RankingForm::clock, &RankingForm::clockOriginal, &RankingForm::systemClock,
        &RankingForm::systemClockOriginal, &RankingForm::multiplier,
        &RankingForm::multiplierOriginal}) {
    for (const char* bad : {"", "0", "-1", "abc", "0.00"}) {
      RankingForm f = Complete();
      f.*field = bad;
      EXPECT_EQ(CheckForm(f), FormProblem::kBadClock) << bad;
    }
  }
}

TEST(CheckForm, RaidNeedsTheControllerInsteadOfTheDisk) {
  RankingForm f = Complete();
  f.raid = 1;
  f.disk = "";
  EXPECT_EQ(CheckForm(f), FormProblem::kMissingField);
  f.raidController = "Intel Matrix Storage";
  EXPECT_EQ(CheckForm(f), std::nullopt);
  f.raid = 0;
  EXPECT_EQ(CheckForm(f), FormProblem::kMissingField);
}

// The client refuses what the service would: typed names that show nothing, and C1 or direction
// controls in any typed text.
TEST(CheckForm, InvisibleNamesAndHiddenControlsAreRefusedBeforeSending) {
  const struct {
    std::string RankingForm::*field;
    const char* text;
    std::optional<FormProblem> problem;
  } cases[] = {
      {&RankingForm::userName, "\xE2\x80\x8B", FormProblem::kMissingField},
      {&RankingForm::video, " \xC2\xA0", FormProblem::kMissingField},
      {&RankingForm::machineName, "Box\xE2\x80\xAE", FormProblem::kHiddenControl},
      {&RankingForm::comment, "\xC2\x9B" "2J", FormProblem::kHiddenControl},
      {&RankingForm::password, "pw\xE2\x81\xA7", FormProblem::kHiddenControl},
      {&RankingForm::comment, " ", std::nullopt},
      {&RankingForm::userName, "\xE5\xA4\xAA\xE9\x83\x8E", std::nullopt},
  };
  for (const auto& c : cases) {
    RankingForm f = Complete();
    f.*c.field = c.text;
    EXPECT_EQ(CheckForm(f), c.problem) << c.text;
  }
  EXPECT_STREQ(FormProblemText(FormProblem::kHiddenControl, kEnglish),
               "Please remove control characters from the texts.");
}

TEST(CheckForm, MessagesInBothLanguages) {
  EXPECT_STREQ(FormProblemText(FormProblem::kMissingField, kEnglish),
               "Please input essensial information.");
  EXPECT_STREQ(FormProblemText(FormProblem::kMissingField, kJapanese),
               "必須事項が入力されていません");
  EXPECT_STREQ(FormProblemText(FormProblem::kBadClock, kEnglish),
               "Clock Information is unsuitable.");
  EXPECT_STREQ(FormProblemText(FormProblem::kBadClock, kJapanese),
               "クロック周波数等の情報は正確に入力してください");
}

TEST(RememberedFields, NineIdentityFieldsGoToSectionInfoAndComeBack) {
  TempFolder dir;
  Settings settings(dir.file("Velora09.ini"));
  RankingForm f = Complete();
  f.area = "東京都";
  f.mail = "m@x";
  f.web = "w";
  f.motherBoard = "P5B";
  WriteRememberedFields(settings, f);
  const std::string text = ReadText(settings.path());
  for (const char* line :
       {"UserName=u\r\n", "MachineName=m\r\n", "Area=東京都\r\n", "Country=JP\r\n", "Mail=m@x\r\n",
        "Web=w\r\n", "MotherBoard=P5B\r\n", "Memory=mem\r\n", "Password=p\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(text.find("cs"), std::string::npos) << "the chip set is not kept";
  RankingForm back;
  ReadRememberedFields(settings, back);
  EXPECT_EQ(back.userName, "u");
  EXPECT_EQ(back.area, "東京都");
  EXPECT_EQ(back.password, "p");
  EXPECT_EQ(back.motherBoard, "P5B");
  EXPECT_EQ(back.chipSet, "");
}

TEST(ClockFigures, EachEditRecomputesItsClockThenTheOverClock) {
  RankingForm f;
  f.systemClock = "200";
  f.multiplier = "12";
  f.clockOriginal = "2000";
  ApplyClockEdit(f, ClockEdit::kSystemClock);
  EXPECT_EQ(f.clock, "2400.00");
  EXPECT_EQ(f.overClock, "20.00");

  f.multiplier = "10";
  ApplyClockEdit(f, ClockEdit::kMultiplier);
  EXPECT_EQ(f.systemClock, "240.00");
  EXPECT_EQ(f.clock, "2400.00");

  f.systemClockOriginal = "133.33";
  f.multiplierOriginal = "15";
  ApplyClockEdit(f, ClockEdit::kOriginal);
  EXPECT_EQ(f.clockOriginal, "1999.95");
  // 2400 / 1999.95 x 100 - 100 = 20.003
  EXPECT_EQ(f.overClock, "20.00");
}

TEST(ClockFigures, MultiplierBelowOneChangesNoClock) {
  RankingForm f;
  f.clock = "2400.00";
  f.systemClock = "200.00";
  f.multiplier = "0";
  ApplyClockEdit(f, ClockEdit::kMultiplier);
  EXPECT_EQ(f.systemClock, "200.00");
  ApplyClockEdit(f, ClockEdit::kSystemClock);
  EXPECT_EQ(f.clock, "2400.00");
  f.multiplier = "0.5";
  ApplyClockEdit(f, ClockEdit::kMultiplier);
  EXPECT_EQ(f.systemClock, "200.00");
  // No original clock: no over-clock figure.
  EXPECT_EQ(f.overClock, "");
  f.systemClockOriginal = "200";
  f.multiplierOriginal = "0";
  ApplyClockEdit(f, ClockEdit::kOriginal);
  EXPECT_EQ(f.clockOriginal, "");
}

TEST(PlainList, EachLineLosesItsLastCharacter) {
  EXPECT_EQ(PlainListEntries("JP Japan\r\nUS United States\r\n"),
            (std::vector<std::string>{"JP Japan", "US United States"}));
  // LF-only line ends cost the last letter.
  EXPECT_EQ(PlainListEntries("DDR\nSDRAM\n"), (std::vector<std::string>{"DD", "SDRA"}));
  // Blank lines make no entry; a last line without its end loses a letter all the same.
  EXPECT_EQ(PlainListEntries("a\r\n\n\nbc"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(PlainListEntries("").empty());
  TempFolder dir;
  EXPECT_TRUE(LoadPlainList(dir.file("missing.dat")).empty());
  WriteText(dir.file("m.dat"), "DDR4-3200\r\nDDR5-6400\r\n");
  EXPECT_EQ(LoadPlainList(dir.file("m.dat")), (std::vector<std::string>{"DDR4-3200", "DDR5-6400"}));
}

TEST(PciColumn, OneFieldPerLineWithRunsOfEqualNamesCollapsed) {
  TempFolder dir;
  const std::string path = dir.file("video.pci");
  WriteText(path,
            "; comment\n"
            "\n"
            "10DE0191,A2,GeForce 8800 GTX\n"
            "10DE0193,A2,GeForce 8800 GTX\n"
            "10DE0400,A1,GeForce 8600 GTS\n"
            "10DE0402\n"
            "10DE0194,A2,GeForce 8800 GTX\n"
            "\r\n"
            "10DE0600\tA2\tGeForce 8800 GTS 512\n");
  EXPECT_EQ(*LoadPciColumn(path, 3),
            (std::vector<std::string>{"GeForce 8800 GTX", "GeForce 8600 GTS", "GeForce 8800 GTX",
                                      "GeForce 8800 GTS 512"}));
  WriteText(
      path,
      "80862970,00,808627B8,00,Intel P965 + ICH8\n80862970,02,808627B8,02,Intel P965 + ICH8\n");
  EXPECT_EQ(*LoadPciColumn(path, 5), (std::vector<std::string>{"Intel P965 + ICH8"}));
  EXPECT_EQ(LoadPciColumn(dir.file("none.pci"), 3), std::nullopt);
}

TEST(PciColumn, ShippedFilesGiveNames) {
  const auto video =
      LoadPciColumn(std::string(VELORA_SOURCE_DIR) + "/" + kVideoPciFile, kVideoPciField);
  const auto chipset =
      LoadPciColumn(std::string(VELORA_SOURCE_DIR) + "/" + kChipsetPciFile, kChipsetPciField);
  ASSERT_TRUE(video && chipset);
  EXPECT_GT(video->size(), 50u);
  EXPECT_GT(chipset->size(), 10u);
  for (const std::string& name : *video)
    EXPECT_EQ(name.find_first_of("\r\n,"), std::string::npos) << name;
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

std::vector<std::string> Shipped(const char* file) {
  return LoadPlainList(std::string(VELORA_SOURCE_DIR) + "/" + file);
}

TEST(ShippedLists, CrLfFilesLoadWholeEntries) {
  const auto countries = Shipped(kCountryFile);
  EXPECT_GE(countries.size(), 240u);
  EXPECT_NE(std::find(countries.begin(), countries.end(), "JP Japan"), countries.end());
  const auto areas = Shipped(kAreaFile);
  ASSERT_EQ(areas.size(), 47u);
  EXPECT_EQ(areas.front(), "北海道");
  EXPECT_EQ(areas[12], "東京都");
  EXPECT_EQ(areas.back(), "沖縄県");
  const auto memory = Shipped(kMemoryFile);
  EXPECT_NE(std::find(memory.begin(), memory.end(), "SDRAM PC100"), memory.end());
  EXPECT_NE(std::find(memory.begin(), memory.end(), "DDR5 PC5-51200 (DDR5-6400)"), memory.end());
  EXPECT_NE(std::find(memory.begin(), memory.end(), "LPDDR4X"), memory.end());
  EXPECT_FALSE(Shipped(kRaidFile).empty());
  for (const char* file : {kCountryFile, kAreaFile, kMemoryFile, kRaidFile}) {
    for (const std::string& entry : Shipped(file)) {
      EXPECT_FALSE(entry.empty()) << file;
      EXPECT_EQ(entry.find_first_of("\r\n"), std::string::npos) << file;
    }
  }
}

}  // namespace
}  // namespace velora
