// The collector's sections, switches, fault guards and finishing steps over scripted sources.

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/settings.h"
#include "info/inventory_collector.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

class ScriptedSources : public InventorySources {
 public:
  std::vector<DiskObject> disks;
  std::optional<BiosObject> bios;
  std::optional<ComputerSystemObject> system;
  std::optional<BaseBoardObject> board;
  std::optional<OperatingSystemObject> os;
  std::optional<StorageControllerObject> controller;
  std::optional<VideoControllerObject> video;
  std::string faultIn;  // the section that throws

  std::vector<DiskObject> Disks() override { return Maybe("Disk", disks); }
  std::optional<BiosObject> Bios() override { return Maybe("BIOS", bios); }
  std::optional<ComputerSystemObject> ComputerSystem() override {
    return Maybe("Computer System", system);
  }
  std::optional<BaseBoardObject> BaseBoard() override { return Maybe("Mother", board); }
  std::optional<OperatingSystemObject> OperatingSystem() override { return Maybe("OS", os); }
  std::optional<StorageControllerObject> StorageController() override {
    return Maybe("IDE", controller);
  }
  std::optional<VideoControllerObject> VideoController() override { return Maybe("Video", video); }

 private:
  template <typename T>
  T Maybe(const std::string& section, const T& value) {
    if (section == faultIn) throw std::runtime_error("fault in " + section);
    return value;
  }
};

class RecordingHost : public InventoryHost {
 public:
  void BeginCollecting(const std::string& suffix) override { events.push_back("begin " + suffix); }
  void Publish(const InventoryFields& fields) override {
    events.push_back("publish");
    last = fields;
  }
  void EndCollecting() override { events.push_back("end"); }
  std::vector<std::string> events;
  InventoryFields last;
};

class InventoryCollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sources.disks = {{"WDC WD800JD-75MSA3", "SATA", "80026361856"},
                     {"Kingston SH103S3", "SATA", "240057409536"},
                     {"Empty Reader", "USB", "0"}};
    sources.bios = BiosObject{"19030101", "1.2", "Award", "Award BIOS 6.00", "F5", 2, 4};
    sources.system = ComputerSystemObject{"Dell Inc.", "PowerEdge R910"};
    sources.board = BaseBoardObject{"Dell Inc.", "0JRJM9", "A02"};
    sources.os = OperatingSystemObject{"20250624"};
    sources.controller = StorageControllerObject{"Intel Corporation 82801 SATA Controller"};
    VideoControllerObject video;
    video.adapterCompatibility = "Cirrus Logic";
    video.videoProcessor = "Cirrus Logic GD 5446";
    video.caption = "Red Hat, Inc. Cirrus Logic GD 5446";
    video.driverName = "cirrus";
    video.driverVersion = "6.1.0-13-amd64";
    video.adapterRamBytes = 134217728;
    sources.video = video;
    request.identifiedModels = {"WDC WD800JD-75MSA3"};
  }
  InventoryFields Run() {
    return CollectInventory(sources, request, host,
                            [this](const std::string& line) { log.push_back(line); });
  }
  bool Logged(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  ScriptedSources sources;
  InventoryRequest request;
  RecordingHost host;
  std::vector<std::string> log;
};

TEST_F(InventoryCollectorTest, EverySectionStoresItsFieldsInOrder) {
  const InventoryFields f = Run();
  ASSERT_EQ(f.diskRows.size(), 1u) << "one identified already, one of size 0";
  EXPECT_EQ(f.diskRows[0].model, "Kingston SH103S3");
  EXPECT_EQ(f.diskRows[0].sizeGb, "240.0");
  EXPECT_EQ(f.rankingDisks, std::vector<std::string>{"Kingston SH103S3"});
  EXPECT_EQ(f.identifiedDriveCount, 2);
  EXPECT_EQ(f.biosDate, " 2003/01/01");
  EXPECT_EQ(f.biosVersion, " 1.2");
  EXPECT_EQ(f.biosVendor, " Award");
  EXPECT_EQ(f.biosCaption, " Award BIOS 6.00");
  EXPECT_EQ(f.smbiosCaption, " F5");
  EXPECT_EQ(f.smbiosVersion, " 2.4");
  EXPECT_EQ(f.systemVendor, " Dell Inc.");
  EXPECT_EQ(f.systemModel, " PowerEdge R910");
  EXPECT_EQ(f.motherVendor, " Dell Inc.");
  EXPECT_EQ(f.motherProduct, " 0JRJM9");
  EXPECT_EQ(f.motherVersion, " A02");
  EXPECT_EQ(f.installDate, " 2025/06/24");
  EXPECT_EQ(f.ideController, " Intel Corporation 82801 SATA Controller");
  EXPECT_EQ(f.videoVendor, " Cirrus Logic");
  EXPECT_EQ(f.videoChip, " Cirrus Logic GD 5446");
  EXPECT_EQ(f.videoRam, "128");
  EXPECT_EQ(f.driverVersion, "cirrus 6.1.0-13-amd64") << "no module version: the kernel's";
  EXPECT_EQ(f.driverDate, "");

  const std::vector<std::string> sections{"Disk", "BIOS", "Computer System", "Mother", "OS",
                                          "IDE",  "Video"};
  size_t at = 0;
  for (const std::string& line : log) {
    if (at < sections.size() && line == sections[at]) ++at;
  }
  EXPECT_EQ(at, sections.size()) << "section lines in order";
  EXPECT_EQ(log.front(), "Inventory Initialize Start");
  EXPECT_EQ(log.back(), "Inventory Initialize OK!");
  EXPECT_TRUE(Logged("VideoDriver GetInventory"));
  EXPECT_EQ(host.events.front(), std::string("begin ") + kInventoryTitleSuffix);
  EXPECT_EQ(host.events.back(), "end");
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "publish"), 7);
  EXPECT_EQ(host.last.biosDate, f.biosDate) << "the last snapshot holds everything";
}

TEST_F(InventoryCollectorTest, TheBiosSwitchLeavesOnlyTheBiosEmpty) {
  testing::TempFolder dir;
  testing::WriteText(dir.file("v.ini"), "[Setting]\nDisableWMI_BIOS=1\nDisableWMI_OS=0\n");
  request.disabled = ReadInventorySwitches(Settings(dir.file("v.ini")));
  EXPECT_EQ(request.disabled,
            (std::array<bool, 7>{false, true, false, false, false, false, false}));
  const InventoryFields f = Run();
  EXPECT_EQ(f.biosDate, "");
  EXPECT_EQ(f.biosVendor, "");
  EXPECT_EQ(f.smbiosVersion, "");
  EXPECT_FALSE(Logged("BIOS"));
  EXPECT_EQ(f.systemModel, " PowerEdge R910");
  EXPECT_EQ(f.videoRam, "128");
}

TEST_F(InventoryCollectorTest, AFaultEndsOnlyItsSection) {
  sources.faultIn = "Mother";
  const InventoryFields f = Run();
  EXPECT_TRUE(Logged("Exception Mother"));
  EXPECT_EQ(f.motherProduct, "");
  EXPECT_EQ(f.systemModel, " PowerEdge R910") << "before the fault";
  EXPECT_EQ(f.installDate, " 2025/06/24") << "after the fault";
  EXPECT_EQ(log.back(), "Inventory Initialize OK!");
  EXPECT_EQ(host.events.back(), "end");
}

TEST_F(InventoryCollectorTest, AStopRequestStillRunsTheFinishingSteps) {
  std::atomic<bool> stop{true};
  request.stop = &stop;
  const InventoryFields f = Run();
  EXPECT_EQ(f.biosDate, "");
  EXPECT_EQ(host.events.back(), "end");
  EXPECT_FALSE(Logged("Inventory Initialize OK!"));
}

TEST_F(InventoryCollectorTest, MissingObjectsLeaveFieldsEmpty) {
  sources.bios.reset();
  sources.video.reset();
  sources.bios = BiosObject{"2011", "", "", "", "", std::nullopt, std::nullopt};
  const InventoryFields f = Run();
  EXPECT_EQ(f.biosDate, "") << "a date shorter than eight characters";
  EXPECT_TRUE(Logged("BIOS 3"));
  EXPECT_FALSE(Logged("BIOS 4"));
  EXPECT_EQ(f.biosVendor, "");
  EXPECT_EQ(f.smbiosVersion, "");
  EXPECT_EQ(f.videoVendor, "");
  EXPECT_EQ(f.videoRam, "");
}

}  // namespace
}  // namespace velora
