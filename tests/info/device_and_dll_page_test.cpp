// The Device page's own texts and the DLL page's categories.

#include <gnu/libc-version.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/ui_language.h"
#include "info/device_page_data.h"
#include "info/dll_page_data.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

TEST(DevicePageTexts, DisplayModeAndDirectX) {
  EXPECT_EQ(DisplayModeText(1024, 768, 32, 60), "1024 x 768 32bit 60Hz");
  // 0 and 1 stand for the hardware's default rate.
  EXPECT_EQ(DisplayModeText(1024, 768, 32, 1), "1024 x 768 32bit");
  EXPECT_EQ(DisplayModeText(1280, 1024, 16, 0), "1280 x 1024 16bit");
  EXPECT_EQ(DisplayModeText(1920, 1080, 24, 2), "1920 x 1080 24bit 2Hz");
  EXPECT_EQ(DirectXField("0"), "Not installed");
  EXPECT_EQ(DirectXField("0.0"), "Not installed");
  EXPECT_EQ(DirectXField(""), "Not installed");
  EXPECT_EQ(DirectXField("DirectX 9"), "Not installed") << "does not start with a number";
  EXPECT_EQ(DirectXField("9.0c"), "9.0c");
}

TEST(DevicePageTexts, ProbeNamesWithTheirBlank) {
  DevicePageData page;
  FillDevicePageFromProbe(page, nullptr);
  EXPECT_EQ(page.chipset, " ");
  EXPECT_EQ(page.video, " ");
  EXPECT_EQ(page.directX, "Not installed");
}

// A 440FX host bridge (8086:1237 rev 2) and a Cirrus GD 5446 (1013:00B8 rev 0); the probe knows
// no south bridge, so its identifiers stay empty rather than read as 0.
TEST(DevicePageTexts, ChipsetIdentifiersAsDecimalTexts) {
  testing::FakeProbeObject probe;
  probe.ints = {{0x2020, 0x8086}, {0x2021, 0x1237}, {0x2022, 2},
                {0x2040, 0x1013}, {0x2041, 0x00B8}, {0x2042, 0}};
  DevicePageData page;
  FillDevicePageFromProbe(page, &probe);
  EXPECT_EQ(page.northVid, "32902");
  EXPECT_EQ(page.northDid, "4663");
  EXPECT_EQ(page.northRid, "2");
  EXPECT_EQ(page.southVid, "");
  EXPECT_EQ(page.southRid, "");
  EXPECT_EQ(page.videoVid, "4115");
  EXPECT_EQ(page.videoDid, "184");
  EXPECT_EQ(page.videoRid, "0");
  FillDevicePageFromProbe(page, nullptr);
  EXPECT_EQ(page.northVid, "");
}

TEST(DevicePageTexts, CollectorFieldsStayUntilStored) {
  DevicePageData page;
  page.videoRam = "64";
  InventoryFields fields;
  fields.ideController = " Intel Corporation 82801IR/IO/IH (ICH9R/DO/DH) 6 port SATA Controller";
  ApplyInventoryToDevicePage(page, fields);
  EXPECT_EQ(page.videoRam, "64") << "the collector stored none";
  EXPECT_EQ(page.ideController, fields.ideController);
  const PageView view = DevicePageView(page, kEnglish);
  ASSERT_EQ(view.tables.size(), 1u);
  EXPECT_EQ(view.tables[0].columns.size(), 10u) << "with IPv6 address, link and MTU";
  EXPECT_EQ(view.groups[0].fields[3].label, "IDE Controller");
  EXPECT_EQ(view.groups[0].fields[3].value, fields.ideController);
}

// Versions of a make-believe system: one library without a version, one missing.
std::string ScriptedVersion(const std::string& file) {
  static const std::map<std::string, std::string> versions{
      {"libc.so.6", "2.36"}, {"libz.so.1", "1.2.13"}, {"libGL.so.1", ""}};
  auto it = versions.find(file);
  return it == versions.end() ? "" : it->second;
}

TEST(DllPage, CategoriesInTableOrder) {
  const auto& categories = DllCategories();
  EXPECT_STREQ(categories[0].english, "System");
  EXPECT_STREQ(categories[1].english, "C/C++ Runtime");
  EXPECT_STREQ(categories[2].english, "Toolkit");
  EXPECT_STREQ(categories[3].english, "Archiver");
  for (const DllCategory& c : categories) {
    EXPECT_GE(c.rows.size(), 10u) << c.english;
    EXPECT_LE(c.rows.size(), 20u) << c.english;
  }
  DllPageData page;
  FillDllCategory(page, 0, ScriptedVersion);
  ASSERT_EQ(page.rows.size(), categories[0].rows.size());
  EXPECT_EQ(page.rows[0], (DllRow{"libc.so.6", "2.36", "C Library"}));
  auto gl = std::find_if(page.rows.begin(), page.rows.end(),
                         [](const DllRow& row) { return row[0] == "libGL.so.1"; });
  ASSERT_NE(gl, page.rows.end());
  EXPECT_EQ((*gl)[1], "Not Installed") << "present without a version";
  EXPECT_EQ(page.rows.back()[1], "Not Installed") << "not there at all";
}

TEST(DllPage, ArchiverBackToSystemRefillsInOrder) {
  DllPageData page;
  FillDllCategory(page, 0, ScriptedVersion);
  const std::vector<DllRow> system = page.rows;
  FillDllCategory(page, 3, ScriptedVersion);
  EXPECT_EQ(page.category, 3);
  EXPECT_EQ(page.rows[0], (DllRow{"libz.so.1", "1.2.13", "zlib (gz / deflate)"}));
  FillDllCategory(page, 0, ScriptedVersion);
  EXPECT_EQ(page.rows, system);
  FillDllCategory(page, 7, ScriptedVersion);
  EXPECT_EQ(page.category, 0) << "any other tab is the first";
  EXPECT_EQ(page.rows, system);
  FillDllCategory(page, -1, ScriptedVersion);
  EXPECT_EQ(page.rows, system);
  EXPECT_EQ(DllPageView(page, kJapanese).tables[0].title, "システム");
}

TEST(DllPage, ThisMachinesCLibraryAndCppRuntime) {
  EXPECT_EQ(InstalledLibraryVersion("libc.so.6"), gnu_get_libc_version());
  EXPECT_EQ(InstalledLibraryVersion("libvelora-no-such-library.so.7"), "");
  DllPageData page;
  FillDllCategory(page, 1, InstalledLibraryVersion);
  ASSERT_EQ(page.rows[0][0], "libstdc++.so.6");
  // This program runs on the machine's libstdc++, so the loader finds one.
  EXPECT_NE(page.rows[0][1], "Not Installed");
}

}  // namespace
}  // namespace velora
