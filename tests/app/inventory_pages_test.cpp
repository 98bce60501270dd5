// The System, CPU, Feature and PCI pages in the window, on this machine's own probe library.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "app/main_dialog.h"
#include "app/pages/cpu_page.h"
#include "app/pages/disk_page.h"
#include "app/pages/feature_page.h"
#include "app/pages/pci_page.h"
#include "app/pages/system_page.h"
#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "info/block_devices.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

class InventoryPagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void SetUp() override {
    UiLanguage = kEnglish;
    window = std::make_unique<MainDialog>(context);
    window->showMessage = [](const std::string&, const std::string&) {};
    ASSERT_TRUE(window->initialise());
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
      QApplication::processEvents();
      const QImage image = window->grab().toImage();
      ASSERT_FALSE(image.isNull());
      const std::string suffix = language == kEnglish ? "-en.png" : "-jp.png";
      EXPECT_TRUE(image.save(QString::fromStdString(folder + "/" + name + suffix)));
    }
  }

  testing::TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  MainWindowContext context{binding, settings, log, [] { return uint32_t{kNoWmi}; }, "bench"};
  std::unique_ptr<MainDialog> window;
};

TEST_F(InventoryPagesTest, SystemPageTicksOnlyWhileShown) {
  auto* page = dynamic_cast<SystemPage*>(window->page(2));
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->timerRunning()) << "the Mark page is in front";
  window->selectPage(2);
  QApplication::processEvents();
  EXPECT_TRUE(page->timerRunning());
  const OsIdentity os = IdentifyOperatingSystem();
  EXPECT_EQ(page->data().osName, " " + os.name + " " + os.edition);
  EXPECT_FALSE(page->data().physicalTotal.empty());
  EXPECT_EQ(window->pages().ReadSystemPage().version, page->data().version);
  Grab(2, "system-page");
  window->selectPage(0);
  QApplication::processEvents();
  EXPECT_FALSE(page->timerRunning());
}

TEST_F(InventoryPagesTest, CpuPageShowsWhatTheProbeAnswersAndReselects) {
  auto* page = dynamic_cast<CpuPage*>(window->page(3));
  ASSERT_NE(page, nullptr);
  const CpuPageData data = window->pages().ReadCpuPage();
  EXPECT_FALSE(data.vendorString.empty()) << "identified while the window was made";
  EXPECT_EQ(static_cast<int>(data.processors.size()), page->selector()->count());
  QLineEdit* vendor = page->view()->field("", "Vendor String");
  ASSERT_NE(vendor, nullptr);
  EXPECT_EQ(vendor->text().toStdString(), data.vendorString);
  Grab(3, "cpu-page");
  // The window released the library after start-up; choosing a processor loads it again.
  EXPECT_FALSE(binding.loaded());
  const int last = page->selector()->count() - 1;
  ASSERT_TRUE(page->selectProcessor(last));
  EXPECT_FALSE(binding.loaded()) << "released again";
  EXPECT_EQ(page->data().selectedIndex, last);
  EXPECT_EQ(page->selector()->currentIndex(), last);
  EXPECT_EQ(page->data().vendorString, data.vendorString);
}

TEST_F(InventoryPagesTest, FeatureAndPciPages) {
  auto* feature = dynamic_cast<FeaturePage*>(window->page(4));
  ASSERT_NE(feature, nullptr);
  // Every x86-64 processor has SSE2 (leaf 1 EDX bit 26), in the right half.
  EXPECT_EQ(feature->cell(26, 2)->text().toStdString(), "YES");
  EXPECT_GT(feature->cell(26, 0)->x(), feature->cell(15, 2)->x()) << "two halves side by side";
  EXPECT_EQ(feature->cell(26, 0)->y(), feature->cell(10, 0)->y());
  Grab(4, "feature-page");
  feature->button(FeatureRegister::kStructuredEbx)->click();
  EXPECT_EQ(feature->cell(5, 0)->text().toStdString(), "AVX2");

  auto* pci = dynamic_cast<PciPage*>(window->page(6));
  ASSERT_NE(pci, nullptr);
  size_t functions = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator("/sys/bus/pci/devices", ec);
       !ec && it != std::filesystem::directory_iterator(); ++it) {
    ++functions;
  }
  EXPECT_EQ(pci->data().rows.size(), functions) << "one row per function sysfs lists";
  // Numbers stand centred under their headings, the type name to the left.
  QTableWidget* list = pci->view()->table(0);
  ASSERT_NE(list, nullptr);
  if (list->rowCount() > 0) {
    EXPECT_EQ(list->item(0, 0)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(list->item(0, 8)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  }
  Grab(6, "pci-page");
  if (functions > 1) {
    pci->showRow(1);
    EXPECT_EQ(pci->data().shownRow, 1);
    pci->showRow(static_cast<int>(functions));
    EXPECT_EQ(pci->data().shownRow, 1) << "beside the rows nothing changes";
  }
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

TEST_F(InventoryPagesTest, DiskPageListsThisMachinesDisksAndItsRoot) {
  auto* disk = dynamic_cast<DiskPage*>(window->page(7));
  ASSERT_NE(disk, nullptr);
  EXPECT_EQ(disk->data().devices.size(), ListBlockDevices().size())
      << "one row per disk, identified or not";
  QTableWidget* drives = disk->view()->table(1);
  ASSERT_NE(drives, nullptr);
  bool root = false;
  for (int r = 0; r < drives->rowCount(); ++r)
    root = root || drives->item(r, 0)->text() == "/";
  EXPECT_TRUE(root);
  Grab(7, "disk-page");

  // A recorded row with the privilege note, and a click beside the rows.
  DiskRow sata;
  sata.identity.model = "KINGSTON SH103S3";
  sata.identity.diskSize = 2400;
  sata.interfaceText = "ATA";
  sata.identifyNeedsPrivilege = true;
  DiskRow nvme = sata;
  nvme.identity.model = "KINGSTON SFYR2S1T0";
  nvme.identity.maximumMode = "PCIe 4.0 x4";
  nvme.interfaceText = "NVMe";
  nvme.identifyNeedsPrivilege = false;
  disk->setData(MakeDiskPageData({nvme, sata}, disk->data().drives));
  disk->showRow(1);
  EXPECT_EQ(disk->data().detail.model, " KINGSTON SH103S3");
  disk->showRow(2);
  EXPECT_EQ(disk->data().shownRow, 1);
  EXPECT_TRUE(disk->view()->table(0)->isColumnHidden(4)) << "CHS is for the panel only";
  Grab(7, "disk-page-recorded");
}

}  // namespace
}  // namespace velora
