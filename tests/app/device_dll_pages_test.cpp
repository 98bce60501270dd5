// The Device and DLL pages in the window, and the inventory collector running beside it.

#include <gnu/libc-version.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <future>

#include "app/inventory_runner.h"
#include "app/main_dialog.h"
#include "app/pages/device_page.h"
#include "app/pages/dll_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/system_page.h"
#include "core/app_log.h"
#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "info/inventory_sysfs.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

class DeviceDllPagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void Open(uint32_t flags) {
    UiLanguage = kEnglish;
    context = std::make_unique<MainWindowContext>(
        MainWindowContext{binding, settings, log, [flags] { return flags; }, "bench"});
    window = std::make_unique<MainDialog>(*context);
    window->showMessage = [](const std::string&, const std::string&) {};
    ASSERT_TRUE(window->initialise());
    // The settings file has no language: the window starts in Japanese.
    window->setLanguage(kEnglish);
    for (int tab : {5, 8}) window->page(tab)->refreshLanguage();
    window->show();
    QApplication::processEvents();
  }
  // Pictures of a page in both languages, for a person to look at.
  void Grab(int tab, const std::string& name) {
    window->selectPage(tab);
    const std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    for (int language : {kJapanese, kEnglish}) {
      window->setLanguage(language);
      window->page(tab)->refreshLanguage();
      QApplication::processEvents();
      const QImage image = window->grab().toImage();
      ASSERT_FALSE(image.isNull());
      const std::string suffix = language == kEnglish ? "-en.png" : "-jp.png";
      EXPECT_TRUE(image.save(QString::fromStdString(folder + "/" + name + suffix)));
    }
  }
  // Events until the collector has finished; it reads local files only.
  void WaitForCollector() {
    ASSERT_NE(window->collector(), nullptr);
    for (int i = 0; i < 60000 && !window->collector()->finished(); ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(1);
    }
    ASSERT_TRUE(window->collector()->finished());
  }

  testing::TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  std::unique_ptr<MainWindowContext> context;
  std::unique_ptr<MainDialog> window;
};

TEST_F(DeviceDllPagesTest, DevicePageListsThisMachinesAdaptersWithoutTheLoopback) {
  Open(kNoWmi);
  auto* page = dynamic_cast<DevicePage*>(window->page(5));
  ASSERT_NE(page, nullptr);
  const DevicePageData data = window->pages().ReadDevicePage();
  for (const NetworkAdapterRow& row : data.adapters) {
    EXPECT_EQ(row[1].find("(lo)"), std::string::npos);
  }
  QTableWidget* table = page->view()->table(0);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), static_cast<int>(data.adapters.size()));
  if (std::filesystem::exists("/sys/class/net/eth0/address")) {
    std::string mac = FirstLine("/sys/class/net/eth0/address");
    for (char& c : mac) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    int eth0 = -1;
    for (size_t i = 0; i < data.adapters.size(); ++i) {
      if (data.adapters[i][1].find("(eth0)") != std::string::npos) eth0 = static_cast<int>(i);
    }
    ASSERT_GE(eth0, 0);
    page->showAdapter(eth0);
    EXPECT_EQ(page->data().adapterDetail[1], mac);
    QLineEdit* shown = page->view()->field("Network", "MAC Address");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text().toStdString(), mac);
  }
  EXPECT_EQ(data.directX, "Not installed");
  EXPECT_FALSE(data.displayMode.empty());
  Grab(5, "device-page");
}

TEST_F(DeviceDllPagesTest, DllPageTabsRefillTheList) {
  Open(kNoWmi);
  auto* page = dynamic_cast<DllPage*>(window->page(8));
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->tabs()->count(), 4);
  EXPECT_EQ(page->tabs()->tabText(1).toStdString(), "C/C++ Runtime");
  QTableWidget* table = page->view()->table(0);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), "libc.so.6");
  EXPECT_EQ(table->item(0, 1)->text().toStdString(), gnu_get_libc_version());
  Grab(8, "dll-page");
  window->setLanguage(kJapanese);
  page->refreshLanguage();
  EXPECT_EQ(page->tabs()->tabText(3).toStdString(), "アーカイバ");
  page->tabs()->setCurrentIndex(3);
  EXPECT_EQ(page->data().category, 3);
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), "libz.so.1");
  page->tabs()->setCurrentIndex(0);
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), "libc.so.6");
  EXPECT_EQ(window->pages().ReadDllPage().rows.size(), DllCategories()[0].rows.size());
  window->setLanguage(kEnglish);
}

TEST_F(DeviceDllPagesTest, CollectorFillsThePagesAndEndsItsRun) {
  Open(0);
  WaitForCollector();
  QApplication::processEvents();
  EXPECT_EQ(window->windowTitle().toStdString(), TitleWithSuffix(window->baseTitle(), ""));
  EXPECT_EQ(window->pageRefreshState(), 1);
  auto* mark = dynamic_cast<MarkPage*>(window->page(0));
  ASSERT_NE(mark, nullptr);
  // The collector's own source, read again here: the install date is a day of this machine.
  SysfsInventoryOptions options;
  SysfsInventorySources sources(options);
  auto os = sources.OperatingSystem();
  if (os) {
    EXPECT_EQ(window->pages().ReadSystemPage().installDate,
              " " + *DateTimeToDayText(os->installDate));
  }
  EXPECT_EQ(window->pages().ReadInventory().rankingDisks.size(),
            window->pages().ReadInventory().diskRows.size());
  window->selectPage(2);
  EXPECT_EQ(window->pageRefreshState(), 2) << "the switch refreshed the pages";
  window->selectPage(0);
  EXPECT_TRUE(log.path().size() > 0);
  std::ifstream in(log.path());
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Inventory Initialize Start\n"), std::string::npos);
  EXPECT_NE(text.find("Inventory Initialize OK!\n"), std::string::npos);
}

// Disks that wait until the test lets them go.
class GatedSources : public InventorySources {
 public:
  std::promise<void> gate;
  std::shared_future<void> open{gate.get_future().share()};
  std::vector<DiskObject> Disks() override {
    open.wait();
    return {{"Kingston SH103S3", "SATA", "240057409536"}};
  }
  std::optional<BiosObject> Bios() override {
    return BiosObject{"20111026", "", "Dell Inc.", "", "", {}, {}};
  }
  std::optional<ComputerSystemObject> ComputerSystem() override { return std::nullopt; }
  std::optional<BaseBoardObject> BaseBoard() override { return std::nullopt; }
  std::optional<OperatingSystemObject> OperatingSystem() override { return std::nullopt; }
  std::optional<StorageControllerObject> StorageController() override { return std::nullopt; }
  std::optional<VideoControllerObject> VideoController() override { return std::nullopt; }
};

TEST(InventoryRunnerTest, ControlsOffWhileItWorksStoresOnTheGuiThread) {
  testing::EnsureOffscreenApplication();
  std::atomic<int> controlsOff{0}, controlsOn{0}, refreshes{0};
  std::mutex mutex;
  std::vector<std::string> suffixes;
  std::vector<InventoryFields> stored;
  bool storedOffThread = false;
  InventoryRunner::Hooks hooks;
  hooks.setRunControls = [&](bool enable) { (enable ? controlsOn : controlsOff)++; };
  hooks.setTitleSuffix = [&](const std::string& s) {
    std::lock_guard lock(mutex);
    suffixes.push_back(s);
  };
  hooks.requestPageRefresh = [&] { refreshes++; };
  hooks.store = [&](const InventoryFields& f) {
    if (QThread::currentThread() != qApp->thread()) storedOffThread = true;
    stored.push_back(f);
  };
  hooks.log = [](const std::string&) {};
  auto sources = std::make_unique<GatedSources>();
  GatedSources* gated = sources.get();
  InventoryRunner runner(hooks);
  runner.Start(std::move(sources), InventoryRequest{});
  // The thread waits at the gate: the controls are off, nothing is stored yet.
  for (int i = 0; i < 10000 && controlsOff.load() == 0; ++i) QThread::msleep(1);
  EXPECT_EQ(controlsOff.load(), 1);
  QApplication::processEvents();
  EXPECT_TRUE(stored.empty());
  EXPECT_FALSE(runner.finished());
  gated->gate.set_value();
  runner.Join();
  EXPECT_EQ(controlsOn.load(), 1);
  EXPECT_EQ(refreshes.load(), 0) << "queued behind the last snapshot";
  QApplication::processEvents();
  EXPECT_TRUE(runner.finished());
  EXPECT_EQ(refreshes.load(), 1);
  EXPECT_FALSE(storedOffThread);
  ASSERT_EQ(stored.size(), 7u);
  EXPECT_EQ(stored.back().biosDate, " 2011/10/26");
  EXPECT_EQ(stored.back().rankingDisks, std::vector<std::string>{"Kingston SH103S3"});
  std::lock_guard lock(mutex);
  EXPECT_EQ(suffixes, (std::vector<std::string>{kInventoryTitleSuffix, ""}));
}

}  // namespace
}  // namespace velora
