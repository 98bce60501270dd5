// The composed blocks against texts worked out by hand from recorded inputs and the block rules.

#include "report/report_blocks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "info/ata_identify.h"
#include "info/disk_identification.h"
#include "platform/fake/fake_cpuid_source.h"
#include "probe/probe_id_table.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

namespace ids = probe_id;

// The first two functions of the recorded KVM guest (hwloc_cloudstack-kvm-vm.lspci-x.txt), as
// the probe answers them: 00:00.0 8086:1237 rev 02 class 0600, 00:01.0 8086:7000 rev 00 class
// 0601, both with subsystem 1af4:1100 (vendor in the high half). The second has no subsystem
// vendor name, as with a database that lacks it.
PciPageData RecordedPci() {
  testing::FakeProbeObject p;
  p.ints = {{ids::kPciDeviceCount, 2},          {ids::kPciBus + 0, 0},
            {ids::kPciDeviceNumber + 0, 0},     {ids::kPciFunction + 0, 0},
            {ids::kPciVendor + 0, 0x8086},      {ids::kPciDevice + 0, 0x1237},
            {ids::kPciRevision + 0, 2},         {ids::kPciSubsystem + 0, 0x1AF41100},
            {ids::kPciClassCode + 0, 0x060000}, {ids::kPciBus + 1, 0},
            {ids::kPciDeviceNumber + 1, 1},     {ids::kPciFunction + 1, 0},
            {ids::kPciVendor + 1, 0x8086},      {ids::kPciDevice + 1, 0x7000},
            {ids::kPciRevision + 1, 0},         {ids::kPciSubsystem + 1, 0x1AF41100},
            {ids::kPciClassCode + 1, 0x060100}};
  p.texts = {{ids::kPciClassName + 0, "Host bridge"},
             {ids::kPciVendorName + 0, "Intel Corporation"},
             {ids::kPciDeviceName + 0, "440FX - 82441FX PMC [Natoma]"},
             {ids::kPciSubsystemVendorName + 0, "Red Hat, Inc."},
             {ids::kPciClassName + 1, "ISA bridge"},
             {ids::kPciVendorName + 1, "Intel Corporation"},
             {ids::kPciDeviceName + 1, "82371SB PIIX3 ISA [Natoma/Triton II]"}};
  return ReadPciPageData(p);
}

TEST(PciListBlock, RegisterTableThenNameTableFromARecordedGuest) {
  const BlockVariants block = PciListBlock(RecordedPci());
  EXPECT_EQ(block.text,
            "No Bus Dev Fnc VendorDeviceRev SubSystem  Class  DeviceType\r\n"
            " 0   0:  0:  0 8086h:1237h.02h 1AF41100h 060000h Host bridge\r\n"
            " 1   0:  1:  0 8086h:7000h.00h 1AF41100h 060100h ISA bridge\r\n"
            "\r\n"
            "No DeviceName | SubSystem Vendor\r\n"
            " 0 Intel Corporation 440FX - 82441FX PMC [Natoma] | Red Hat, Inc.\r\n"
            " 1 Intel Corporation 82371SB PIIX3 ISA [Natoma/Triton II]");
  EXPECT_EQ(block.html,
            "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
            "<tr><td>No</td><td>Bus</td><td>Dev</td><td>Fnc</td><td>Vendor</td><td>Device</td>"
            "<td>Rev</td><td>SubSystem</td><td>Class</td><td>DeviceType</td></tr>"
            "<tr><td> 0</td><td>  0</td><td>  0</td><td>  0</td><td>8086h</td><td>1237h</td>"
            "<td>02h</td><td>1AF41100h</td><td>060000h</td><td>Host bridge</td></tr>\r\n"
            "<tr><td> 1</td><td>  0</td><td>  1</td><td>  0</td><td>8086h</td><td>7000h</td>"
            "<td>00h</td><td>1AF41100h</td><td>060100h</td><td>ISA bridge</td></tr>\r\n"
            "</table>\r\n"
            "<table width=\"100%\" border=\"1\" cellspacing=\"0\">"
            "<tr><td>No</td><td>DeviceName</td><td>SubSystem Vendor</td></tr>"
            "<tr><td> 0 </td><td>Intel Corporation 440FX - 82441FX PMC [Natoma]</td>"
            "<td>Red Hat, Inc.</td></tr>\r\n"
            "<tr><td> 1 </td><td>Intel Corporation 82371SB PIIX3 ISA [Natoma/Triton II]</td>"
            "<td></td></tr>\r\n"
            "</table>\r\n");
}

TEST(PciListBlock, NoFunctionsLeavesTheHeadings) {
  const BlockVariants block = PciListBlock(PciPageData{});
  EXPECT_EQ(block.text,
            "No Bus Dev Fnc VendorDeviceRev SubSystem  Class  DeviceType\r\n\r\n"
            "No DeviceName | SubSystem Vendor");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// ST320410A: words 60-61 0x02549F3F sectors (20.0 GB), word 21 0x1000 sectors of buffer
// (2048 KB), Ultra DMA mode 5 (Ultra DMA/100), parallel ATA.
DiskPageData RecordedDisk() {
  const auto words =
      ParseIdentifyText(ReadFile(VELORA_TESTDATA "/ata-identify/libatasmart_ST320410A--3.39.txt"));
  EXPECT_TRUE(words.has_value());
  return MakeDiskPageData({AtaDiskRow(*words, "sda")}, {});
}

TEST(DiskListBlock, OneRecordedDriveAndADriveWithoutBuffer) {
  DiskPageData disk = RecordedDisk();
  DiskListRow bare{};
  bare[0] = "QEMU HARDDISK";
  bare[1] = "SATA";
  bare[2] = "8.6";
  bare[10] = "SATA/150";  // no buffer size: the mode is left out too
  disk.devices.push_back(bare);
  const BlockVariants block = DiskListBlock(disk);
  EXPECT_EQ(block.text,
            "Type Size    Model                                  ( Buffer Mode )     \r\n"
            "IDE   20.0GB ST320410A                                2048KB Ultra DMA/100    \r\n"
            "SATA   8.6GB QEMU HARDDISK" +
                std::string(28, ' '));
  EXPECT_EQ(block.html,
            "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
            "<tr><td>Type</td><td>Size</td><td>Model</td><td>Buffer</td><td>Mode</td></tr>"
            "<tr><td>IDE  </td><td> 20.0GB </td>"
            "<td>ST320410A                                </td><td>2048KB </td>"
            "<td>Ultra DMA/100    </td></tr>\r\n"
            "<tr><td>SATA </td><td>  8.6GB </td>"
            "<td>QEMU HARDDISK" +
                std::string(28, ' ') +
                "</td><td></td><td></td></tr>\r\n"
                "</table>\r\n");
}

TEST(DiskDetailDump, DevicesWithRawWordsOnly) {
  DiskPageData disk = RecordedDisk();
  ASSERT_FALSE(disk.devices[0][kDiskDataColumn].empty());
  // Eight words a line, each as eight hexadecimal digits.
  EXPECT_EQ(disk.devices[0][kDiskDataColumn].substr(0, 73),
            "00000C5A 00003FFF 00000000 00000010 00000000 00000000 0000003F 00000000\r\n");
  DiskListRow kernelRow{};
  kernelRow[0] = "vda";
  kernelRow[2] = "8.6";
  disk.devices.push_back(kernelRow);
  EXPECT_EQ(DiskDetailDump(disk),
            "ST320410A [ 20.0 GB ] \r\n" + disk.devices[0][kDiskDataColumn] + "\r\n");
  EXPECT_EQ(DiskDetailDump(DiskPageData{}), "");
}

TEST(CpuidDumpBlock, RecordedK6HasStandardAndExtendedLeaves) {
  FakeCpuidSource cpuid;
  ASSERT_GT(cpuid.LoadDump(VELORA_TESTDATA "/cpuid/amd/k6/amd-k6-2-chomper.txt"), 0);
  // Leaf 0 says 1, leaf 0x80000000 says 0x80000005; the recorded 0x8FFFFFFF is beyond both.
  EXPECT_EQ(CpuidDumpBlock(cpuid, "AuthenticAMD"),
            "     0x00000000 : EAX=0x00000001 EBX=0x68747541 ECX=0x444D4163 EDX=0x69746E65\r\n"
            "     0x00000001 : EAX=0x00000580 EBX=0x00000000 ECX=0x00000000 EDX=0x008001BF\r\n"
            "     0x80000000 : EAX=0x80000005 EBX=0x00000000 ECX=0x00000000 EDX=0x00000000\r\n"
            "     0x80000001 : EAX=0x00000680 EBX=0x00000000 ECX=0x00000000 EDX=0x808009BF\r\n"
            "     0x80000002 : EAX=0x2D444D41 EBX=0x7428364B ECX=0x3320296D EDX=0x72702044\r\n"
            "     0x80000003 : EAX=0x7365636F EBX=0x00726F73 ECX=0x00000000 EDX=0x00000000\r\n"
            "     0x80000004 : EAX=0x00000000 EBX=0x00000000 ECX=0x00000000 EDX=0x00000000\r\n"
            "     0x80000005 : EAX=0x00000000 EBX=0x02800140 ECX=0x20020220 EDX=0x20020220");
}

TEST(CpuidDumpBlock, ExtendedLeavesOnlyAboveTheirBase) {
  for (const uint32_t highest : {0x80000000u, 0x00000004u}) {
    FakeCpuidSource cpuid;
    cpuid.Set(0, 0, {0, 0x756E6547, 0x6C65746E, 0x49656E69});
    cpuid.Set(0x80000000u, 0, {highest, 0, 0, 0});
    EXPECT_EQ(CpuidDumpBlock(cpuid, "GenuineIntel"),
              "     0x00000000 : EAX=0x00000000 EBX=0x756E6547 ECX=0x6C65746E EDX=0x49656E69")
        << std::hex << highest;
  }
}

TEST(CpuidDumpBlock, TransmetaLeavesForATransmetaVendor) {
  FakeCpuidSource cpuid;
  cpuid.Set(0, 0, {0, 1, 2, 3});
  cpuid.Set(0x80860000u, 0, {0x80860001u, 0, 0, 0});
  cpuid.Set(0x80860001u, 0, {0x543, 0, 0, 0x8000});
  EXPECT_EQ(CpuidDumpBlock(cpuid, "GenuineTMx86"),
            "     0x00000000 : EAX=0x00000000 EBX=0x00000001 ECX=0x00000002 EDX=0x00000003\r\n"
            "     0x80860000 : EAX=0x80860001 EBX=0x00000000 ECX=0x00000000 EDX=0x00000000\r\n"
            "     0x80860001 : EAX=0x00000543 EBX=0x00000000 ECX=0x00000000 EDX=0x00008000");
}

// The CPU page of a K6-2 at 400 MHz on a 100 MHz bus (multiplier 4), none of it over-clocked.
CpuPageData K6Page() {
  CpuPageData cpu;
  cpu.vendorString = "AuthenticAMD";
  cpu.cpuName = "AMD K6-2";
  cpu.codeName = "Chomper";
  cpu.nameString = "AMD-K6(tm) 3D processor";
  cpu.platform = "Super Socket 7";
  cpu.number = "1";
  cpu.family = "5";
  cpu.model = "8";
  cpu.stepping = "0";
  cpu.internalClockCurrent = "400.12";
  cpu.internalClockOriginal = "400.00";
  cpu.systemClockCurrent = "100.03";
  cpu.systemClockOriginal = "100.00";
  cpu.multiplierCurrent = "4.00";
  cpu.multiplierOriginal = "4.00";
  cpu.overClock = "0.03";
  cpu.labels[0] = true;   // MMX
  cpu.labels[5] = true;   // 3DNow!
  cpu.labels[11] = true;  // no-execute, which an AMD page calls NX
  cpu.firstCacheValue = "32";
  cpu.l1Data = "32";
  return cpu;
}

TEST(CpuDetailBlock, RecordedK6InBothForms) {
  const BlockVariants block = CpuDetailBlock(K6Page());
  EXPECT_EQ(block.text,
            "       CPU Name : AMD K6-2 (Chomper)\r\n"
            "  Vendor String : AuthenticAMD\r\n"
            "    Name String : AMD-K6(tm) 3D processor\r\n"
            "       Platform : Super Socket 7\r\n"
            "Number(Logical) : 1\r\n"
            "         Family : 5\r\n"
            "          Model : 8\r\n"
            "       Stepping : 0\r\n"
            "        Feature : MMX 3DNow! NX\r\n"
            "\r\n"
            "                    Current        Original\r\n"
            "          Clock :  400.12 MHz      400.00 MHz\r\n"
            "   System Clock :  100.03 MHz      100.00 MHz\r\n"
            "     Multiplier :    4.00            4.00\r\n"
            "     Over Clock :    0.03 %\r\n"
            "\r\n"
            "     L1 I-Cache :   32 KB\r\n"
            "     L1 D-Cache :   32 KB");
  EXPECT_EQ(block.html,
            "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
            "<tr><td align=\"right\">       CPU Name</td><td>AMD K6-2 (Chomper)</td></tr>\r\n"
            "<tr><td align=\"right\">  Vendor String</td><td>AuthenticAMD</td></tr>\r\n"
            "<tr><td align=\"right\">    Name String</td><td>AMD-K6(tm) 3D processor</td></tr>\r\n"
            "<tr><td align=\"right\">       Platform</td><td>Super Socket 7</td></tr>\r\n"
            "<tr><td align=\"right\">Number(Logical)</td><td>1</td></tr>\r\n"
            "<tr><td align=\"right\">         Family</td><td>5</td></tr>\r\n"
            "<tr><td align=\"right\">          Model</td><td>8</td></tr>\r\n"
            "<tr><td align=\"right\">       Stepping</td><td>0</td></tr>\r\n"
            "<tr><td align=\"right\">Feature</td><td> MMX 3DNow! NX</td></tr>\r\n"
            "<tr><td colspan=\"2\"><table width=\"100%\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"3\">"
            "<tr><td> </td><td>Current</td><td>Original</td></tr>\r\n"
            "<tr><td align=\"right\">Clock</td><td> 400.12 MHz</td><td> 400.00 MHz</td></tr>\r\n"
            "<tr><td align=\"right\">System Clock</td><td> 100.03 MHz</td><td> 100.00 MHz</td>"
            "</tr>\r\n"
            "</table></td></tr>"
            "<tr><td align=\"right\">L1 I-Cache</td><td>32 KB</td></tr>\r\n"
            "<tr><td align=\"right\">L1 D-Cache</td><td>32 KB</td></tr>\r\n"
            "</table>");
}

TEST(CpuDetailBlock, ExtensionsFollowSse3AndCachesAreInTheHtmlToo) {
  CpuPageData cpu;
  cpu.vendorString = "AuthenticAMD";
  for (int label : {0, 1, 2, 3, 4, 8, 11}) cpu.labels[static_cast<size_t>(label)] = true;
  cpu.extensions = {"SSSE3", "SSE4.1", "SSE4.2", "AVX2", "AVX-512"};
  cpu.l2 = "1024";
  cpu.l2Speed = "Full";
  cpu.l2Clock = "2596.00";
  cpu.l3 = "32768";
  const BlockVariants block = CpuDetailBlock(cpu);
  EXPECT_EQ(block.text,
            "  Vendor String : AuthenticAMD\r\n"
            "        Feature : MMX SSE SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 AVX2 AVX-512 MMX+ AMD64 NX\r\n"
            "       L2 Cache : 1024 KB [Full:2596.00 MHz]\r\n"
            "       L3 Cache : 32768 KB");
  EXPECT_NE(block.html.find("<tr><td align=\"right\">L3 Cache</td><td>32768 KB</td></tr>\r\n"
                            "</table>"),
            std::string::npos);
}

TEST(CpuDetailBlock, IntelNoExecuteIsXdAndNoOriginalClockNoOverClock) {
  CpuPageData cpu;
  cpu.vendorString = "GenuineIntel";
  cpu.cpuName = "Pentium 4";
  cpu.labels[11] = true;
  cpu.internalClockCurrent = "2800.00";
  cpu.l2 = "512";
  cpu.l2Speed = "1/1";
  cpu.l2Clock = "2800.00";
  cpu.busRateName = "QDR";
  EXPECT_EQ(CpuDetailBlock(cpu).text,
            "       CPU Name : Pentium 4\r\n"
            "  Vendor String : GenuineIntel\r\n"
            "        Feature : XD\r\n"
            "          Clock : 2800.00 MHz\r\n"
            "      Data Rate :    QDR\r\n"
            "       L2 Cache :  512 KB [1/1:2800.00 MHz]");
}

TEST(ResultBlocks, OpenGlCountsAreValuesAndTheHtmlTable) {
  BenchResult result;
  result.score[0][0] = 4321;
  result.score[0][kTestOgl] = 900;
  result.score[kTestOgl][0] = 450;   // Scene 1
  result.score[kTestOgl][1] = 11;    // a sub-score the count lines do not print
  result.value[kTestOgl][1] = 2500;  // lines drawn, thousands
  result.value[kTestOgl][2] = 4;     // processors
  result.score[kTestOgl][3] = 450;
  result.value[kTestOgl][4] = 1200;
  result.value[kTestOgl][5] = 4;
  result.score[kTestD2d][0] = 77;
  result.value[kTestD2d][0] = 123456;  // 1234.56 FPS
  const std::string html = ResultHtmlBlock(result);
  EXPECT_EQ(
      html.rfind(
          "<table width=\"750\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\r\n"
          "<tr><td bgcolor=\"#bbbbbb\" width=\"250\">Velora</td><td width=\"500\">   4321</td>"
          "</tr>\r\n<tr><td bgcolor=\"#dddddd\">ALU</td><td>      0</td></tr>\r\n",
          0),
      0u);
  EXPECT_NE(html.find("<tr><td>Sprite    10</td><td>1234.56 FPS (    77 )</td></tr>\r\n"),
            std::string::npos);
  const std::string tail =
      "<tr><td bgcolor=\"#dddddd\">OGL</td><td>    900</td></tr>\r\n"
      "<tr><td>Scene 1</td><td>    450</td></tr>\r\n"
      "<tr><td>Lines (x1000)</td><td>(   2500)</td></tr>\r\n"
      "<tr><td>Scene 1 CPU</td><td>(      4)</td></tr>\r\n"
      "<tr><td>Scene 2 Score</td><td>    450</td></tr>\r\n"
      "<tr><td>Polygons (x1000)</td><td>(   1200)</td></tr>\r\n"
      "<tr><td>Scene 2 CPU</td><td>(      4)</td></tr>\r\n"
      "</table>\r\n";
  ASSERT_GE(html.size(), tail.size());
  EXPECT_EQ(html.substr(html.size() - tail.size()), tail);
  // 1 + 7 headings + 34 sub-lines, each one row.
  size_t rows = 0;
  for (size_t at = html.find("<tr>"); at != std::string::npos; at = html.find("<tr>", at + 1))
    ++rows;
  EXPECT_EQ(rows, 42u);
}

TEST(RankingDiskLine, PlainDiskRaidAndNothing) {
  RankingForm form;
  form.disk = "ST320410A";
  form.diskSize = "20";
  EXPECT_EQ(RankingDiskLine(form), "      Disk Info : ST320410A [ 20.0 GB ]\r\n");
  form.raid = 1;
  EXPECT_EQ(RankingDiskLine(form), "") << "RAID on without its controller";
  form.raidController = "3ware 9650SE";
  form.raidSize = "1863.06";
  form.raidType = "RAID 5";
  EXPECT_EQ(RankingDiskLine(form), "      Disk Info : 3ware 9650SE [ 1863.1 GB] [ RAID 5 ]\r\n");
  form.raid = 0;
  form.diskSize.clear();
  EXPECT_EQ(RankingDiskLine(form), "");
}

// Names from a database or a drive are data: the HTML variants show markup in them as text.
TEST(HtmlBlocks, DeviceAndDriveNamesAreEscaped) {
  PciPageData pci;
  pci.rows.push_back({});
  pci.rows[0][10] = "Vendor <img src=x>";
  pci.rows[0][11] = "Device & Co";
  DiskPageData disk;
  disk.devices.push_back({});
  disk.devices[0][0] = "<script>Drive</script>";
  const std::string pciHtml = PciListBlock(pci).html;
  const std::string diskHtml = DiskListBlock(disk).html;
  EXPECT_NE(pciHtml.find("<td>Vendor &lt;img src=x&gt; Device &amp; Co</td>"), std::string::npos)
      << pciHtml;
  EXPECT_NE(diskHtml.find("&lt;script&gt;Drive&lt;/script&gt;"), std::string::npos) << diskHtml;
  EXPECT_EQ(diskHtml.find("<script>"), std::string::npos);
  EXPECT_NE(PciListBlock(pci).text.find("Vendor <img src=x> Device & Co"), std::string::npos);
}

}  // namespace
}  // namespace velora
