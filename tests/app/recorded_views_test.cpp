// One recorded machine, four views: the window opened on it, `velora info --from --json`,
// `velora report --from` and the registration body show the same BIOS, board, processor, disk
// and video; and what a window showing a recording does differently from one on this machine.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/main_dialog.h"
#include "app/pages/cpu_page.h"
#include "app/pages/device_page.h"
#include "app/pages/disk_page.h"
#include "app/pages/dll_page.h"
#include "app/pages/feature_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/ranking_page.h"
#include "app/pages/system_page.h"
#include "core/app_log.h"
#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "session/machine_snapshot.h"
#include "session/ranking_entry.h"
#include "session/recording.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/recorded_machine.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;

// Worked out from the recorded inputs: the strings of the SMBIOS tables' BIOS (type 0) and
// board (type 2) structures, the date "07/13/2018" written year first as the pages write dates;
// the processor's brand string (leaves 0x80000002-4: "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz")
// without its marks and clock; IDENTIFY words 27-46 of sda's block; the VGA function's name.
struct Fact {
  const char* what;
  const char* value;
};
constexpr Fact kFacts[] = {
    {"BIOS vendor", "American Megatrends Inc."},
    {"BIOS version", "V2.14B14"},
    {"BIOS date", "2018/07/13"},
    {"board maker", "MSI"},
    {"board product", "H87-G43 (MS-7816)"},
    {"CPU", "Intel Core i7-4770"},
    {"disk", "WDC WD5000AAKS-00TMA0"},
    {"video", "Cirrus Logic GD 5446"},
};

std::string Trimmed(const QString& text) { return text.trimmed().toStdString(); }

// Standard output of the command line program; fails the test on a non-zero exit.
std::string RunVelora(const std::string& arguments) {
  const std::string command = std::string(VELORA_BIN_DIR) + "/velora " + arguments;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return out;
}

Recording LoadedRecording(const std::string& folder) {
  Recording recording;
  std::string error;
  EXPECT_TRUE(LoadRecording({folder}, recording, error)) << error;
  return recording;
}

class RecordedViewsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void SetUp() override {
    UiLanguage = kEnglish;
    testing::MakeRecordedMachine(recording.path());
    machine = std::make_unique<MachineAccess>(LoadedRecording(recording.path()));
  }

  // The window on the recording, its collector finished and its pages refreshed.
  std::unique_ptr<MainDialog> OpenWindow(uint32_t flags) {
    startFlags = flags;
    auto window = std::make_unique<MainDialog>(context, *machine);
    window->showMessage = [this](const std::string& text, const std::string&) {
      messages.push_back(text);
    };
    EXPECT_TRUE(window->initialise());
    if (window->collector() != nullptr) window->collector()->Join();
    QApplication::processEvents();
    window->selectPage(2);
    return window;
  }

  // Pictures of the window on the recording in both languages, for a person to look at.
  void Grab(MainDialog& window, int tab, const std::string& name) {
    window.selectPage(tab);
    const std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    for (int language : {kJapanese, kEnglish}) {
      window.setLanguage(language);
      QApplication::processEvents();
      const std::string suffix = language == kEnglish ? "-en.png" : "-jp.png";
      EXPECT_TRUE(window.grab().save(QString::fromStdString(folder + "/" + name + suffix)));
    }
  }

  TempFolder recording, home;
  std::unique_ptr<MachineAccess> machine;
  const Settings settings = Settings::ReadOnly(home.file("bench.ini"));
  AppLog log{""};
  ProbeBinding binding{VELORA_BIN_DIR};
  uint32_t startFlags = 0;
  MainWindowContext context{binding, settings, log, [this] { return startFlags; }, "bench"};
  std::vector<std::string> messages;
};

TEST_F(RecordedViewsTest, WindowInfoReportAndBodyShowTheRecordedMachine) {
  // The window.
  const std::unique_ptr<MainDialog> window = OpenWindow(0);
  auto* system = dynamic_cast<SystemPage*>(window->page(2));
  auto* cpu = dynamic_cast<CpuPage*>(window->page(3));
  auto* device = dynamic_cast<DevicePage*>(window->page(5));
  auto* disk = dynamic_cast<DiskPage*>(window->page(7));
  ASSERT_TRUE(system && cpu && device && disk);
  auto shown = [](InventoryPage* page, const char* group, const char* label) {
    QLineEdit* field = page->view()->field(group, label);
    return field != nullptr ? Trimmed(field->text()) : std::string("(no field)");
  };
  std::vector<std::string> models;
  if (QTableWidget* list = disk->view()->table(0)) {
    for (int r = 0; r < list->rowCount(); ++r) models.push_back(Trimmed(list->item(r, 0)->text()));
  }
  const std::vector<std::string> inWindow = {
      shown(system, "BIOS", "Vendor"),  shown(system, "BIOS", "Caption"),
      shown(system, "BIOS", "Date"),    shown(system, "Mother", "Vendor"),
      shown(system, "Mother", "Product"), shown(cpu, "", "CPU Name"),
      std::find(models.begin(), models.end(), kFacts[6].value) != models.end() ? kFacts[6].value
                                                                                : "(not listed)",
      shown(device, "Video", "Video")};

  // velora info --json.
  const nlohmann::json j =
      nlohmann::json::parse(RunVelora("info --from '" + recording.path() + "' --json"), nullptr, false);
  ASSERT_TRUE(j.is_object());
  std::string jsonDisk = "(not listed)";
  for (const auto& d : j.at("disks")) {
    if (d.at("model") == kFacts[6].value) jsonDisk = kFacts[6].value;
  }
  const std::vector<std::string> inJson = {
      j.at("bios").at("vendor"),   j.at("bios").at("caption"),  j.at("bios").at("date"),
      j.at("board").at("vendor"),  j.at("board").at("product"), j.at("cpu").at("name"),
      jsonDisk,                    j.at("device").at("video").at("name")};

  // velora report, from a template naming each value.
  testing::WriteText(home.file("facts.txt"),
                     "%BIOSVendor%\n%BIOSCaption%\n%BIOSDate%\n%MotherVendor%\n%MotherProduct%\n"
                     "%CPUDetail%\n%HddList%\n%Video%\n");
  const std::string report = RunVelora("report --from '" + recording.path() + "' --template '" +
                                 home.file("facts.txt") + "'");

  // The body `velora mark --submit-dry-run` would post, from the same collection.
  const MachineSnapshot m = CollectMachine(kSystemPart | kCpuPart | kDevicePart | kDiskPart, *machine);
  const DeviceFacts facts = DeviceFactsOf(m.device);
  RankingForm form = SeedRankingForm(&settings, m.cpu, facts, m.memoryBytes);
  form.userName = "tester";
  form.machineName = "box";
  form.country = "JP Japan";
  form.password = "pw";
  form.memory = "DDR3";
  form.clock = form.clockOriginal = "3400";
  form.systemClock = form.systemClockOriginal = "100";
  form.multiplier = form.multiplierOriginal = "34";
  // The user picks the disk from the models the Ranking page offers.
  auto* ranking = dynamic_cast<RankingPage*>(window->page(1));
  ASSERT_NE(ranking, nullptr);
  ASSERT_GE(ranking->combo("disk")->findText(kFacts[6].value), 0);
  form.disk = kFacts[6].value;
  const EntryOutcome entry =
      RegisterEntry(form, EntryMachineOf(m.cpu, m.system, m.os.build, facts), BenchResult{},
                    "Velora", "", kEnglish, true);
  ASSERT_FALSE(entry.formProblem);
  const std::string bodyKeys[] = {"BiosVendor", "BiosCaption", "BiosDate", "MotherVendor",
                                  "MotherProduct", "CpuName", "DiskName", "Video"};

  window->show();
  Grab(*window, 2, "recording-system-page");
  Grab(*window, 7, "recording-disk-page");
  for (size_t i = 0; i < std::size(kFacts); ++i) {
    const Fact& fact = kFacts[i];
    EXPECT_EQ(inWindow[i], fact.value) << fact.what << " in the window";
    EXPECT_EQ(inJson[i], fact.value) << fact.what << " in velora info --json";
    EXPECT_NE(report.find(fact.value), std::string::npos) << fact.what << " in the report";
    const std::string pair = bodyKeys[i] + "=" + fact.value + "&";
    EXPECT_NE(entry.body.find(pair), std::string::npos) << pair << " in the body";
  }
}

TEST_F(RecordedViewsTest, WindowNamesTheRecordingRunsNothingAndWritesNothing) {
  const std::unique_ptr<MainDialog> window = OpenWindow(kNoWmi);
  EXPECT_TRUE(messages.empty()) << messages.front();
  // A fresh settings file starts the window in Japanese.
  const std::string base = window->baseTitle();
  EXPECT_EQ(window->windowTitle().toStdString(), base + " - 記録 " + recording.path());

  auto* mark = dynamic_cast<MarkPage*>(window->page(0));
  ASSERT_NE(mark, nullptr);
  EXPECT_TRUE(mark->benchmarkOff());
  for (int id : {kIdMarkButton, kIdAluButton, kIdHddButton, kIdStopButton, kIdScratchDriveList})
    EXPECT_FALSE(mark->control(id)->isEnabled()) << id;
  EXPECT_FALSE(mark->startRun(kTestAlu));
  // The collector switches the run buttons back on when it ends; the benchmark stays off.
  mark->setRunControlsEnabled(true, true);
  EXPECT_FALSE(mark->control(kIdMarkButton)->isEnabled());
  auto* ranking = dynamic_cast<RankingPage*>(window->page(1));
  ASSERT_NE(ranking, nullptr);
  ranking->refreshScores();
  EXPECT_FALSE(ranking->entryEnabled());

  // Choosing a processor loads the probe again: on the recording, as the first load did.
  auto* cpu = dynamic_cast<CpuPage*>(window->page(3));
  ASSERT_NE(cpu, nullptr);
  ASSERT_TRUE(cpu->selectProcessor(0));
  EXPECT_EQ(cpu->data().cpuName, kFacts[5].value);

  // What only this desktop could say reads "not recorded", in the language shown: the words
  // every other view uses.
  EXPECT_STREQ(kNotRecordedCaption.english, kNotRecorded);
  auto* device = dynamic_cast<DevicePage*>(window->page(5));
  auto* dll = dynamic_cast<DllPage*>(window->page(8));
  ASSERT_TRUE(device && dll);
  for (const char* label : {"Display Mode", "Font Smoothing", "OpenGL", "Vulkan"})
    EXPECT_EQ(Trimmed(device->view()->field("Display", label)->text()), "未記録") << label;
  EXPECT_EQ(dll->data().rows.at(0)[1], "未記録");
  auto* system = dynamic_cast<SystemPage*>(window->page(2));
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(Trimmed(system->view()->field("", "User Name")->text()), "未記録");
  window->setLanguage(kEnglish);
  EXPECT_EQ(window->windowTitle().toStdString(), base + " - recording " + recording.path());
  EXPECT_EQ(Trimmed(device->view()->field("Display", "OpenGL")->text()), "not recorded");
  EXPECT_EQ(dll->data().rows.at(0)[1], "not recorded");

  // The settings file belongs to the window running on this machine.
  window.get()->close();
  EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

// A recording of the processor alone: the pages of what it lacks say so, whole.
TEST_F(RecordedViewsTest, PagesOfPartsNotRecordedSaySo) {
  Recording only;
  std::string error;
  ASSERT_TRUE(LoadRecording({recording.path() + "/cpuid.txt"}, only, error)) << error;
  MachineAccess processorOnly(std::move(only));
  MainDialog window(context, processorOnly);
  window.showMessage = [this](const std::string& text, const std::string&) {
    messages.push_back(text);
  };
  startFlags = kNoWmi;
  ASSERT_TRUE(window.initialise());
  EXPECT_TRUE(messages.empty()) << messages.front();
  auto* cpu = dynamic_cast<CpuPage*>(window.page(3));
  auto* disk = dynamic_cast<DiskPage*>(window.page(7));
  ASSERT_TRUE(cpu && disk);
  EXPECT_EQ(Trimmed(cpu->view()->field("", "CPU Name")->text()), kFacts[5].value);
  EXPECT_FALSE(cpu->notRecorded());
  EXPECT_TRUE(disk->notRecorded());
  EXPECT_EQ(Trimmed(disk->view()->field("", "Disk")->text()), "未記録");
  EXPECT_TRUE(dynamic_cast<InventoryPage*>(window.page(6))->notRecorded()) << "PCI";
  window.show();
  Grab(window, 6, "recording-cpuid-only-pci-page");
}

}  // namespace
}  // namespace velora
