#include "app/pages/ranking_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>

#include "app/result_dialog.h"
#include "app/score_bar.h"
#include "bench/linked_bench_engine.h"
#include "core/ui_language.h"
#include "ranking/ranking_post.h"
#include "tests/support/local_http_server.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::LocalHttpServer;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

class FakePages : public PagesModel {
 public:
  MarkPageData mark;
  CpuPageData cpu;
  SystemPageData system;
  MarkPageData ReadMarkPage() const override { return mark; }
  SystemPageData ReadSystemPage() const override { return system; }
  CpuPageData ReadCpuPage() const override { return cpu; }
  FeaturePageData ReadFeaturePage() const override { return {}; }
  PciPageData ReadPciPage() const override { return {}; }
  DiskPageData ReadDiskPage() const override { return {}; }
  DevicePageData ReadDevicePage() const override { return {}; }
  DllPageData ReadDllPage() const override { return {}; }
  InventoryFields ReadInventory() const override { return {}; }
};

class FakeInventory : public RankingInventorySource {
 public:
  DeviceFacts device;
  std::vector<std::string> disks, captions;
  std::string videoMemory;
  DeviceFacts ReadDeviceFacts() const override { return device; }
  std::vector<std::string> ReadDiskModels() const override { return disks; }
  std::vector<std::string> ReadCollectorDiskCaptions() const override { return captions; }
  std::string ReadCollectorVideoMemory() const override { return videoMemory; }
};

// A full run that counts: the screen stayed as it was through GDI and D2D.
BenchResult CompleteRun() {
  BenchResult r;
  r.fullRun = 1;
  r.score[0] = {14523, 2410, 2205, 1830, 1512, 0, 3125, 1877, 0, 1564, 0};
  for (size_t s = 0; s < 4; ++s) r.score[1][s] = static_cast<int32_t>(600 + s);
  r.value[3][0] = 1234567;
  r.value[3][1] = 2345678;
  r.value[3][2] = 3456789;
  r.value[4][0] = 5000;
  r.value[4][1] = 3001;
  r.runSettings = {"11", "1024 x 768 24bit", "Normal", 256, {1024, 768, 24, 1}};
  r.display[0] = r.display[6] = r.display[7] = {1024, 768, 24, 1};
  return r;
}

class RankingPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }

  void SetUp() override {
    UiLanguage = kEnglish;
    const std::string data = folder.path() + "/data/";
    WriteText(data + "country.dat", "JP Japan\r\nUS United States\r\n");
    WriteText(data + "area.dat", "北海道\r\n東京都\r\n");
    // LF-only line ends lose the last letter of every entry.
    WriteText(data + "memory.dat", "DDR4-3200\r\nSDRAM PC100\nDDR5-6400\r\n");
    WriteText(data + "raid.dat", "Intel ICH9R\r\nAMD RAIDXpert2\r\n");
    WriteText(data + "video.pci",
              "; names\n10DE0191,A2,GeForce 8800 GTX\n10DE0193,A2,GeForce 8800 GTX\n"
              "10DE0400,A1,GeForce 8600 GTS\n10DE0194,A3,GeForce 8800 GTX\n");
    WriteText(data + "chipset.pci", "80862970,00,808627B8,00,Intel P965 + ICH8\n");
    pages.cpu.cpuName = "Intel Core 2 Duo E6600";
    pages.cpu.number = "2";
    pages.cpu.internalClockCurrent = "2400.12";
    pages.cpu.internalClockOriginal = "2400.00";
    pages.cpu.systemClockCurrent = "266.68";
    pages.cpu.systemClockOriginal = "266.67";
    pages.cpu.multiplierCurrent = "9.00";
    pages.cpu.multiplierOriginal = "9.00";
    pages.cpu.overClock = "0.01";
    pages.system.osName = " Debian GNU/Linux ";
    pages.system.servicePack = " 12 (bookworm)";
    inventory.device.chipSet = " Intel P965 + ICH8";
    inventory.device.video = " GeForce 8800 GTX";
    inventory.device.directX = "0.0";
    inventory.disks = {"WDC WD5000AAKS", "ST3250410AS"};
  }

  void Make() {
    RankingPageEnvironment environment;
    environment.dataFolder = folder.path();
    environment.inventory = &inventory;
    environment.kernelRelease = "6.1.0-28-amd64";
    environment.limits = PostLimits{2000, 400};
    environment.title = [] { return std::string("Velora 0.9.115.3"); };
    environment.openAddress = [this](const std::string& a) { opened.push_back(a); };
    environment.showMessage = [this](const std::string& m) { messages.push_back(m); };
    environment.askYesNo = [this](const std::string& q) {
      questions.push_back(q);
      return answerYes;
    };
    environment.putOnClipboard = [this](const std::string& t) { clipboard = t; };
    environment.runDialog = [this](ResultDialog& dialog) { dialogTitle = dialog.windowTitle(); };
    page = std::make_unique<RankingPage>(environment);
    PageContext context;
    context.settings = &settings;
    context.pages = &pages;
    context.engine = &engine;
    page->initialise(context);
  }

  void FillRequired() {
    page->edit("userName")->setText("tester");
    page->edit("machineName")->setText("box");
    page->edit("password")->setText("pw");
    page->combo("country")->setCurrentIndex(0);
    page->combo("memory")->setEditText("DDR4-3200");
    page->combo("disk")->setEditText("WDC WD5000AAKS");
  }

  void Entry(const std::string& server) {
    settings.WriteSetting(kRankingServerKey, server);
    page->onEntry();
  }

  std::vector<std::string> Items(const char* name) const {
    std::vector<std::string> items;
    QComboBox* list = page->combo(name);
    for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
    return items;
  }

  TempFolder folder;
  Settings settings{folder.file("velora09.ini")};
  FakePages pages;
  FakeInventory inventory;
  LinkedBenchEngine engine;
  std::unique_ptr<RankingPage> page;
  std::vector<std::string> opened, messages, questions;
  std::string clipboard = "untouched";
  bool answerYes = true;
  QString dialogTitle;
};

TEST_F(RankingPageTest, ListsLoadFromTheDataFilesAndThePages) {
  Make();
  EXPECT_EQ(Items("country"), (std::vector<std::string>{"JP Japan", "US United States"}));
  EXPECT_TRUE(Items("area").empty()) << "no area list in English";
  EXPECT_EQ(Items("memory"), (std::vector<std::string>{"DDR4-3200", "DDR5-6400", "SDRAM PC10"}));
  // Equal adjacent names collapse; the third GTX line follows another name and stays, and the
  // list keeps alphabetical order.
  EXPECT_EQ(Items("video"),
            (std::vector<std::string>{"GeForce 8600 GTS", "GeForce 8800 GTX", "GeForce 8800 GTX"}));
  EXPECT_EQ(Items("chipSet"), (std::vector<std::string>{"Intel P965 + ICH8"}));
  EXPECT_EQ(Items("raidController"), (std::vector<std::string>{"AMD RAIDXpert2", "Intel ICH9R"}));
  EXPECT_EQ(Items("disk"), (std::vector<std::string>{"ST3250410AS", "WDC WD5000AAKS"}));
  EXPECT_EQ(Items("raidDisk8"), (std::vector<std::string>{"ST3250410AS", "WDC WD5000AAKS"}));
  EXPECT_EQ(Items("raidType").size(), 8u);
  EXPECT_EQ(Items("raidType").back(), "RAID 1+5");

  const RankingForm f = page->form();
  EXPECT_EQ(f.cpuName, "Intel Core 2 Duo E6600");
  EXPECT_EQ(f.chipSet, "Intel P965 + ICH8");
  EXPECT_EQ(f.video, "GeForce 8800 GTX");
  EXPECT_EQ(f.clock, "2400.12");
  EXPECT_EQ(f.multiplierOriginal, "9.00");
  EXPECT_GT(std::atoi(f.memorySize.c_str()), 0);
  EXPECT_EQ(f.disk, "");

  // The collector adds its disk captions to the disk list only, and the video memory.
  inventory.captions = {"QEMU HARDDISK"};
  inventory.videoMemory = "256";
  page->refreshFromCollector();
  EXPECT_EQ(Items("disk").size(), 3u);
  EXPECT_EQ(Items("raidDisk1").size(), 2u);
  EXPECT_EQ(page->form().videoMemory, "256");
}

TEST_F(RankingPageTest, JapaneseModeLoadsTheAreasAndTheRememberedFieldsComeBack) {
  UiLanguage = kJapanese;
  settings.Write("Info", "UserName", "山田");
  settings.Write("Info", "Area", "東京都");
  settings.Write("Info", "Country", "US United States");
  settings.Write("Info", "Memory", "DDR5-6400");
  Make();
  EXPECT_EQ(Items("area"), (std::vector<std::string>{"北海道", "東京都"}));
  RankingForm f = page->form();
  EXPECT_EQ(f.userName, "山田");
  EXPECT_EQ(f.area, "東京都");
  EXPECT_EQ(f.country, "US United States");
  EXPECT_EQ(f.memory, "DDR5-6400");
  page->edit("machineName")->setText("new box");
  page->edit("motherBoard")->setText("P5B");
  page.reset();
  const std::string text = ReadText(settings.path());
  EXPECT_NE(text.find("MachineName=new box\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("MotherBoard=P5B\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("UserName=山田\r\n"), std::string::npos) << text;
}

TEST_F(RankingPageTest, FixAndTheClockEdits) {
  Make();
  EXPECT_TRUE(page->clocksReadOnly());
  EXPECT_TRUE(page->edit("cpuName")->isReadOnly());
  page->onFix();
  EXPECT_FALSE(page->edit("clock")->isReadOnly());
  EXPECT_FALSE(page->edit("cpuName")->isReadOnly());
  EXPECT_TRUE(page->edit("overClock")->isReadOnly());
  page->edit("systemClock")->setText("300");
  page->onClockEdited(ClockEdit::kSystemClock);
  EXPECT_EQ(page->form().clock, "2700.00");
  // 2700 / 2400 x 100 - 100
  EXPECT_EQ(page->form().overClock, "12.50");
  page->edit("multiplier")->setText("0");
  page->onClockEdited(ClockEdit::kMultiplier);
  EXPECT_EQ(page->form().systemClock, "300");
  page->onFix();
  EXPECT_TRUE(page->edit("clock")->isReadOnly());
}

TEST_F(RankingPageTest, RaidSwapsTheLabelsAndTheShownControls) {
  Make();
  page->show();
  page->combo("disk")->setEditText("WDC WD5000AAKS");
  page->onRaid();
  EXPECT_TRUE(page->findChild<QCheckBox*>("raid")->isChecked());
  EXPECT_EQ(page->diskLabel()->text(), "HDD");
  EXPECT_EQ(page->controllerLabel()->text(), "Controller (*)");
  EXPECT_FALSE(page->combo("disk")->isVisible());
  EXPECT_TRUE(page->combo("diskLocked")->isVisible());
  EXPECT_FALSE(page->combo("diskLocked")->isEnabled());
  EXPECT_EQ(page->combo("diskLocked")->currentText(), "WDC WD5000AAKS");
  EXPECT_TRUE(page->combo("raidController")->isVisible());
  EXPECT_TRUE(page->combo("raidDisk8")->isVisible());
  page->combo("raidController")->setEditText("Intel ICH9R");
  RankingForm f = page->form();
  EXPECT_EQ(f.raid, 1);
  EXPECT_EQ(f.disk, "WDC WD5000AAKS");
  EXPECT_EQ(f.raidController, "Intel ICH9R");
  page->onRaid();
  EXPECT_EQ(page->diskLabel()->text(), "HDD (*)");
  EXPECT_EQ(page->controllerLabel()->text(), "Controller");
  EXPECT_TRUE(page->combo("raidControllerLocked")->isVisible());
  EXPECT_EQ(page->form().raidController, "Intel ICH9R");
  EXPECT_EQ(page->form().raid, 0);
}

TEST_F(RankingPageTest, ScoreListAndEntryFollowTheRun) {
  Make();
  page->refreshScores();
  EXPECT_FALSE(page->entryEnabled()) << "no completed run";
  pages.mark.result = CompleteRun();
  pages.mark.runComplete = true;
  page->refreshScores();
  EXPECT_TRUE(page->entryEnabled());
  QTableWidget* list = page->scoreList();
  ASSERT_GE(list->rowCount(), 7);
  EXPECT_EQ(list->item(0, 1)->text(), "14523");
  EXPECT_EQ(list->item(1, 0)->text(), "ALU");
  EXPECT_EQ(list->item(1, 1)->text(), "2410");
  pages.mark.runComplete = false;
  page->refreshScores();
  EXPECT_FALSE(page->entryEnabled());
}

TEST_F(RankingPageTest, EntryChecksTheFormBeforeAnythingIsSent) {
  Make();
  LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: 7\r\nConnection: close\r\n\r\n");
  Entry(server.url());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Please input essensial information.");
  FillRequired();
  page->onFix();
  page->edit("multiplierOriginal")->setText("0");
  Entry(server.url());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "Clock Information is unsuitable.");
  UiLanguage = kJapanese;
  page->edit("userName")->setText("");
  Entry(server.url());
  EXPECT_EQ(messages.back(), "必須事項が入力されていません");
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(opened.empty());
}

TEST_F(RankingPageTest, EntryPostsAndActsOnEachReply) {
  pages.mark.result = CompleteRun();
  pages.mark.runComplete = true;
  Make();
  FillRequired();
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: 7\r\nConnection: close\r\n\r\n");
    Entry(server.url());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], server.url() + "/Velora/09en/ranking.php?ID=7");
    const std::string body = server.lastBody();
    EXPECT_EQ(body, page->lastBody() + std::string(1, '\0'));
    EXPECT_EQ(body.rfind("UserName=tester&Machine=box&Area=&Country=JP Japan&", 0), 0u) << body;
    EXPECT_NE(body.find("&DiskName=WDC WD5000AAKS&"), std::string::npos);
    EXPECT_NE(body.find("&ChipSet=Intel P965 %2B ICH8&"), std::string::npos);
    EXPECT_NE(body.find("&OsVersionMajor=6&OsVersionMinor=1&OsVersionBuild=0&"), std::string::npos);
    EXPECT_NE(body.find("&Mark=14523&TALU=2410&"), std::string::npos);
    EXPECT_NE(body.find("&Major= 0&Minor=9&Revision=115&Release=3&check=1"), std::string::npos);
  }
  for (const auto& [code, text] : std::vector<std::pair<int, std::string>>{
           {-1, "Already registed."}, {-5, "Already registed."}}) {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: " + std::to_string(code) +
                           "\r\nConnection: close\r\n\r\n");
    Entry(server.url());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), text);
  }
  UiLanguage = kJapanese;
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: 12\r\nContent-Length: 0\r\n\r\n");
    Entry(server.url());
    EXPECT_EQ(opened.back(), server.url() + "/Velora/09/ranking.php?ID=12");
  }
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: -3\r\nConnection: close\r\n\r\n");
    const size_t shown = messages.size(), asked = questions.size();
    Entry(server.url());
    EXPECT_EQ(messages.size(), shown);
    EXPECT_EQ(questions.size(), asked);
  }
  EXPECT_EQ(clipboard, "untouched");
}

TEST_F(RankingPageTest, AnUnreachableServiceOffersTheBodyForTheClipboard) {
  Make();
  FillRequired();
  answerYes = false;
  Entry("http://127.0.0.1:" + std::to_string(testing::RefusingPort()));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "Is data required in order to register copied to a clip board?");
  EXPECT_EQ(clipboard, "untouched");

  answerYes = true;
  Entry("");
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(clipboard, page->lastBody());
  EXPECT_EQ(clipboard.substr(clipboard.size() - 8), "&check=1");

  clipboard.clear();
  LocalHttpServer silent("");
  Entry(silent.url());
  EXPECT_EQ(questions.size(), 3u);
  EXPECT_EQ(clipboard, page->lastBody());
  EXPECT_TRUE(opened.empty());
}

TEST_F(RankingPageTest, IsoButtonAndResultDialogButton) {
  Make();
  page->onIsoCodes();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], kIsoCountryCodesAddress);
  page->onResultDialog();
  EXPECT_EQ(dialogTitle, "Velora 0.9.115.3");
}

TEST_F(RankingPageTest, ResultDialogBeforeAFullRunIsGreyWithoutMask) {
  Make();
  auto dialog = page->makeResultDialog();
  EXPECT_EQ(dialog->bar(0)->textColours(), kGreyBarColours.text);
  EXPECT_EQ(dialog->bar(kTestOgl)->barColour(), kGreyBarColours.bar);
  EXPECT_EQ(dialog->fieldText(kIdResultClockField), "2400.12 MHz x 2 (266.68x9.00)");
  EXPECT_EQ(dialog->fieldText(kIdResultOsField), "Debian GNU/Linux  12 (bookworm)");
  EXPECT_EQ(dialog->fieldText(kIdResultDirectXField), "0.0");
  EXPECT_EQ(dialog->diskLabel()->text(), "HDD");
}

TEST_F(RankingPageTest, ResultDialogAfterAFullRun) {
  pages.mark.result = CompleteRun();
  pages.mark.runComplete = true;
  Make();
  page->onRaid();
  page->combo("raidController")->setEditText("Intel ICH9R");
  auto dialog = page->makeResultDialog();
  EXPECT_EQ(dialog->bar(0)->textColours(), kActiveBarColours.text);
  EXPECT_EQ(dialog->bar(0)->maximum(), 100000);
  EXPECT_EQ(dialog->bar(0)->value(), 14523);
  EXPECT_EQ(dialog->bar(kTestAlu)->maximum(), 20000);
  EXPECT_EQ(dialog->bar(kTestAlu)->fontSize(), 190);
  EXPECT_EQ(dialog->bar(kTestMmt)->text(), "23456.78 MB/s");
  EXPECT_EQ(dialog->bar(kTestMmt)->value(), 234567);
  EXPECT_EQ(dialog->bar(kTestMmt)->maximum(), 40000);
  EXPECT_EQ(dialog->bar(kTestNet)->text(), "40.01 MB/s");
  EXPECT_TRUE(dialog->bar(kTestD3d)->isHidden());
  EXPECT_EQ(dialog->fieldText(kIdResultClockField), "2400.12 MHz x 2 (266.68x9.00) [ 11 ]");
  EXPECT_EQ(dialog->fieldText(kIdResultDisplayModeField), "1024 x 768 24bit");
  EXPECT_EQ(dialog->fieldText(kIdResultFontSmoothingField), "Normal");
  EXPECT_EQ(dialog->diskLabel()->text(), "RAID");
  EXPECT_EQ(dialog->fieldText(kIdResultDiskField), "Intel ICH9R");
}

std::string ScreenshotFolder() {
  const std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
  std::filesystem::create_directories(folder);
  return folder;
}

void Save(QWidget& widget, const std::string& name) {
  QApplication::processEvents();
  const QImage image = widget.grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(QString::fromStdString(ScreenshotFolder() + "/" + name)));
}

// Pictures for a person to look at: the page and the dialog after a full run, both languages,
// with the shipped choice lists.
TEST_F(RankingPageTest, GrabsThePageAndTheDialogAfterAFullRunInBothLanguages) {
  pages.mark.result = CompleteRun();
  pages.mark.runComplete = true;
  for (const int language : {kJapanese, kEnglish}) {
    UiLanguage = language;
    RankingPageEnvironment environment;
    environment.dataFolder = VELORA_SOURCE_DIR;
    environment.inventory = &inventory;
    environment.title = [] { return std::string("Velora 0.9.115.3"); };
    RankingPage shown(environment);
    PageContext context;
    context.settings = &settings;
    context.pages = &pages;
    context.engine = &engine;
    shown.initialise(context);
    shown.edit("userName")->setText(language == kJapanese ? "山田" : "tester");
    shown.edit("machineName")->setText("bench box");
    shown.combo("memory")->setEditText("DDR4 PC4-25600 (DDR4-3200)");
    shown.combo("disk")->setEditText("WDC WD5000AAKS");
    shown.edit("diskSize")->setText("500");
    shown.resize(650, 560);
    shown.show();
    const char* suffix = language == kJapanese ? "jp" : "en";
    Save(shown, std::string("ranking-page-after-full-run-") + suffix + ".png");
    auto dialog = shown.makeResultDialog();
    dialog->show();
    Save(*dialog, std::string("result-dialog-after-full-run-") + suffix + ".png");
  }
}

}  // namespace
}  // namespace velora
