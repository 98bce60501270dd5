// One collected machine, every view: the page text of `velora info`, its JSON, a report and
// the registration body must say the same BIOS, board, processor, disk and video.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/fake/fake_cpuid_source.h"
#include "report/report_builder.h"
#include "session/machine_snapshot.h"
#include "session/ranking_entry.h"
#include "session/report_writing.h"

namespace velora {
namespace {

MachineSnapshot RecordedMachine() {
  MachineSnapshot m;
  m.parts = kSystemPart | kCpuPart | kDevicePart | kDiskPart;
  m.os.name = "Debian GNU/Linux";
  m.os.build = "6.1.0-28-amd64";
  // The pages hold names as they show them: indented by one blank.
  m.system.biosVendor = " American Megatrends Inc.";
  m.system.motherVendor = " ASUSTeK COMPUTER INC.";
  m.system.motherProduct = " PRIME B650-PLUS";
  m.cpu.vendorString = "AuthenticAMD";
  m.cpu.cpuName = "AMD Ryzen 7 9700X";
  m.cpu.internalClockCurrent = "3800.00";
  m.device.video = " AMD Radeon RX 7600";
  m.device.chipset = " AMD X670";
  DiskRow disk;
  disk.identity.model = "Samsung SSD 990 PRO 2TB";
  disk.identity.diskSize = 20000;
  disk.interfaceText = "NVMe";
  m.disk = MakeDiskPageData({disk}, {});
  return m;
}

TEST(MachineViews, PagesJsonReportAndBodyAgree) {
  const MachineSnapshot m = RecordedMachine();
  const std::vector<std::pair<std::string, std::string>> facts = {
      {"bios", "American Megatrends Inc."},
      {"board", "PRIME B650-PLUS"},
      {"cpu", "AMD Ryzen 7 9700X"},
      {"video", "AMD Radeon RX 7600"},
      {"disk", "Samsung SSD 990 PRO 2TB"}};

  const nlohmann::json j = nlohmann::json::parse(MachineModelJson(ModelOf(m), "0.9.115"));
  EXPECT_EQ(j.at("bios").at("vendor"), facts[0].second);
  EXPECT_EQ(j.at("board").at("product"), facts[1].second);
  EXPECT_EQ(j.at("cpu").at("name"), facts[2].second);
  EXPECT_EQ(j.at("device").at("video").at("name"), facts[3].second);
  EXPECT_EQ(j.at("disks").at(0).at("model"), facts[4].second);
  EXPECT_EQ(j.at("disks").at(0).at("size_bytes"), 2000000000000);

  const std::string text =
      PageViewText(SystemPageView(m.system, 1)) + PageViewText(CpuPageView(m.cpu)) +
      PageViewText(DevicePageView(m.device, 1)) + PageViewText(DiskPageView(m.disk, 1));
  FakeCpuidSource cpuid;
  const std::string report =
      BuildReport("%BIOSVendor%\n%MotherProduct%\n%Video%\n%CPUDetail%\n%HddList%\n",
                  ReportForm::kText, ReportPagesOf(m, BenchResult{}), cpuid);
  RankingForm form = SeedRankingForm(nullptr, m.cpu, DeviceFactsOf(m.device), 0);
  EXPECT_EQ(form.video, facts[3].second);
  EXPECT_EQ(form.chipSet, "AMD X670");
  EXPECT_EQ(form.clock, "3800.00");
  // What only the user can fill in.
  form.userName = "tester";
  form.machineName = "box";
  form.country = "JP Japan";
  form.password = "pw";
  form.memory = "DDR5";
  form.disk = facts[4].second;
  form.clockOriginal = "3800";
  form.systemClock = form.systemClockOriginal = "100";
  form.multiplier = form.multiplierOriginal = "38";
  const EntryOutcome entry =
      RegisterEntry(form, EntryMachineOf(m.cpu, m.system, m.os.build, DeviceFactsOf(m.device)),
                    BenchResult{}, "Velora 0.9.115.3", "", 1, true);
  ASSERT_FALSE(entry.formProblem);
  const std::string& body = entry.body;
  for (const auto& [what, value] : facts) {
    EXPECT_NE(text.find(value), std::string::npos) << what << " missing from the page text";
    EXPECT_NE(report.find(value), std::string::npos) << what << " missing from the report";
  }
  // The body carries the machine's BIOS, board, processor and video (the disk is the form's).
  for (const char* pair : {"BiosVendor=American Megatrends Inc.&", "MotherProduct=PRIME B650-PLUS&",
                           "CpuName=AMD Ryzen 7 9700X&", "VideoUser=AMD Radeon RX 7600&"}) {
    EXPECT_NE(body.find(pair), std::string::npos) << pair << " missing from the body";
  }
}

}  // namespace
}  // namespace velora
