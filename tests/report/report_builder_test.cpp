// The placeholder replacement: every occurrence, once, trimming, escaping, and the bytes around.

#include "report/report_builder.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_cpuid_source.h"

namespace velora {
namespace {

ReportPages SomePages() {
  ReportPages p;
  p.device.chipset = " Intel 440FX";
  p.device.video = " Cirrus Logic GD 5446";
  p.device.videoRam = " 4";
  p.device.displayMode = " 1024 x 768 32bit 60Hz";
  p.system.physicalTotal = "1023.75";
  p.system.biosVendor = " SeaBIOS";
  p.os = {"Debian GNU/Linux", "", "12 (bookworm)", "6.1", "6.1.0-28-amd64", ""};
  p.title = "Velora 0.9.115.275";
  p.cpu.rawRegisters = "EAX = 00000001, EDX = 00000002\r\nEAX = 00000003, EDX = 00000004\r\n";
  return p;
}

std::string Build(const std::string& text, const ReportPages& pages,
                  ReportForm form = ReportForm::kText) {
  FakeCpuidSource cpuid;
  return BuildReport(text, form, pages, cpuid);
}

TEST(ReportBuilder, TemplateWithoutPlaceholdersIsKeptByteForByte) {
  const std::string bytes("line one\r\nline two\n\tno CR\r\n100% \xE6\x97\xA5 %% %Unknown%\0end",
                          46);
  EXPECT_EQ(Build(bytes, SomePages()), bytes);
  EXPECT_EQ(Build("", SomePages()), "");
}

TEST(ReportBuilder, BlocksTakeTheTemplatesLineEnds) {
  const std::string registers = "EAX = 00000001, EDX = 00000002";
  // LF template: LF throughout; CR LF template, or none at all: the blocks as made (CR LF).
  EXPECT_EQ(Build("a\n%MsrInfo%", SomePages()),
            "a\n" + registers + "\nEAX = 00000003, EDX = 00000004\n");
  EXPECT_EQ(Build("a\r\n%MsrInfo%", SomePages()),
            "a\r\n" + registers + "\r\nEAX = 00000003, EDX = 00000004\r\n");
  EXPECT_EQ(Build("%MsrInfo%", SomePages()).find(registers + "\r\n"), 0u);
}

TEST(ReportBuilder, EveryOccurrenceTrimmedAndCaseSensitive) {
  EXPECT_EQ(Build("%ChipSet%|%ChipSet%|%chipset%|%BIOSVendor%\r\n", SomePages()),
            "Intel 440FX|Intel 440FX|%chipset%|SeaBIOS\r\n");
  EXPECT_EQ(Build("[%DisplayMode%]", SomePages()), "[ 1024 x 768 32bit 60Hz]")
      << "the display mode is taken as stored";
  EXPECT_EQ(Build("%MsrInfo%", SomePages()),
            "EAX = 00000001, EDX = 00000002\r\nEAX = 00000003, EDX = 00000004\r\n");
}

TEST(ReportBuilder, VideoRamInMegabytesOrNothing) {
  ReportPages p = SomePages();
  EXPECT_EQ(Build("[%VideoRAM%]", p), "[4 MB]");
  p.device.videoRam.clear();
  EXPECT_EQ(Build("[%VideoRAM%]", p), "[]");
  p.device.videoRam = " ";
  EXPECT_EQ(Build("[%VideoRAM%]", p), "[]") << "a blank field trims to nothing";
}

TEST(ReportBuilder, MemoryAddsOneAndTheRankingChoice) {
  ReportPages p = SomePages();
  EXPECT_EQ(Build("%Memory%", p), "1024 MB");
  p.ranking.memory = "DDR2-800 PC2-6400";
  EXPECT_EQ(Build("%Memory%", p), "1024 MB (DDR2-800 PC2-6400)");
  p.system.physicalTotal.clear();
  EXPECT_EQ(Build("%Memory%", p), "1 MB (DDR2-800 PC2-6400)") << "an empty total reads as 0";
}

TEST(ReportBuilder, VersionAndOperatingSystem) {
  EXPECT_EQ(Build("%VERSION% on %OS%", SomePages()),
            "Velora 0.9.115.275 on Debian GNU/Linux 12 (bookworm) [6.1 Build 6.1.0-28-amd64]")
      << "an empty edition leaves no second blank";
  ReportPages p = SomePages();
  p.os.name.clear();
  p.os.servicePack.clear();
  EXPECT_EQ(Build("%OS%", p), " [6.1 Build 6.1.0-28-amd64]");
  p.os = {"Windows XP", "Professional", "Service Pack 2", "5.1", "2600", ""};
  EXPECT_EQ(Build("%OS%", p), "Windows XP Professional Service Pack 2 [5.1 Build 2600]");
}

TEST(ReportBuilder, UnknownValuesLeaveNoEmptyParentheses) {
  ReportPages p = SomePages();
  const std::string line = "BIOS : %BIOSVendor% %BIOSVersion% (%BIOSDate%)|%Video% (%VideoRAM%)|"
                           "%MotherVendor% ([i]%ChipSet%[/i])|(%North%)";
  EXPECT_EQ(Build(line, p), "BIOS : SeaBIOS |Cirrus Logic GD 5446 (4 MB)| ([i]Intel 440FX[/i])|");
  p.system.biosDate = "04/01/2014";
  p.device.chipset.clear();
  p.device.videoRam.clear();
  EXPECT_EQ(Build(line, p), "BIOS : SeaBIOS  (04/01/2014)|Cirrus Logic GD 5446||");
}

TEST(ReportBuilder, VideoFallsBackToTheOpenGlRenderer) {
  ReportPages p = SomePages();
  p.device.openGlRenderer = "llvmpipe (LLVM 19.1.7, 256 bits)";
  EXPECT_EQ(Build("%Video%", p), "Cirrus Logic GD 5446") << "the display controller first";
  p.device.video = " ";
  EXPECT_EQ(Build("%Video%", p), "llvmpipe (LLVM 19.1.7, 256 bits)");
}

TEST(ReportBuilder, NothingRunLeavesBothResultBlocksEmpty) {
  ReportPages p = SomePages();
  EXPECT_EQ(Build("[%VeloraResult%][%VeloraResultHtml%]", p), "[][]");
  p.result.display[kTestAlu].width = 1024;  // the ALU test started, and scored nothing
  EXPECT_NE(Build("%VeloraResult%", p).find("Velora Result"), std::string::npos);
  EXPECT_NE(Build("%VeloraResultHtml%", p).find("<table"), std::string::npos);
}

// Hardware strings are data: a placeholder word inside one stays text, and an HTML report
// shows markup in one as text. The template's own bytes stay as they are in either form.
TEST(ReportBuilder, ValuesAreNeverExpandedAgainAndEscapedForHtml) {
  ReportPages p = SomePages();
  p.device.video = " Card %BIOSVendor% %ChipSet%";
  p.system.motherVendor = "%CPUDetail%";
  p.system.biosVendor = " <script>alert('x')</script> & \"co\"";
  p.cpu.cpuName = "<b>Fast</b>";
  struct Case {
    const char* text;
    ReportForm form;
    std::string expected;
  };
  const Case cases[] = {
      {"%Video%", ReportForm::kText, "Card %BIOSVendor% %ChipSet%"},
      {"%MotherVendor%|%Video%", ReportForm::kText, "%CPUDetail%|Card %BIOSVendor% %ChipSet%"},
      {"<i>%BIOSVendor%</i>", ReportForm::kText, "<i><script>alert('x')</script> & \"co\"</i>"},
      {"<i>%BIOSVendor%</i>", ReportForm::kHtml,
       "<i>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;co&quot;</i>"},
      {"%MotherVendor%", ReportForm::kHtml, "%CPUDetail%"},
      // Adjacent words, and a '%' of the template that only looks like the start of one.
      {"%ChipSet%%ChipSet%", ReportForm::kText, "Intel 440FXIntel 440FX"},
      {"5%ChipSet%", ReportForm::kText, "5Intel 440FX"},
      {"%X%ChipSet% 100%", ReportForm::kText, "%XIntel 440FX 100%"},
  };
  for (const Case& c : cases) EXPECT_EQ(Build(c.text, p, c.form), c.expected) << c.text;
  // A composed block escapes the strings it holds, and keeps its own markup.
  const std::string detail = Build("%CPUDetail%", p, ReportForm::kHtml);
  EXPECT_NE(detail.find("<td>&lt;b&gt;Fast&lt;/b&gt;</td>"), std::string::npos) << detail;
  EXPECT_EQ(detail.find("<b>"), std::string::npos) << detail;
}

TEST(ReportBuilder, CpuidDumpInHtmlHasNoTrailingBreak) {
  FakeCpuidSource cpuid;
  cpuid.Set(0, 0, {1, 0x68747541, 0x444D4163, 0x69746E65});
  cpuid.Set(1, 0, {0x580, 0, 0, 0x8001BF});
  EXPECT_EQ(
      BuildReport("<p>%CPUIDDetail%</p>", ReportForm::kHtml, SomePages(), cpuid),
      "<p>     0x00000000 : EAX=0x00000001 EBX=0x68747541 ECX=0x444D4163 EDX=0x69746E65<br>"
      "\r\n     0x00000001 : EAX=0x00000580 EBX=0x00000000 ECX=0x00000000 EDX=0x008001BF</p>");
  FakeCpuidSource again = cpuid;
  EXPECT_EQ(BuildReport("%CPUIDDetail%", ReportForm::kText, SomePages(), again).find("<br>"),
            std::string::npos);
}

TEST(ReportBuilder, BlocksFollowTheFormAndBothResultBlocksAreThere) {
  ReportPages p = SomePages();
  p.result.score[0][0] = 12;
  const std::string text = Build("%HddList%|%VeloraResult%|%VeloraResultHtml%", p);
  const std::string html =
      Build("%HddList%|%VeloraResult%|%VeloraResultHtml%", p, ReportForm::kHtml);
  EXPECT_EQ(text.rfind("Type Size", 0), 0u);
  EXPECT_EQ(html.rfind("<table width=\"100%\"", 0), 0u);
  for (const std::string* report : {&text, &html}) {
    EXPECT_NE(report->find("|" + std::string(78, '-') + "\r\nVelora Result\r\n"),
              std::string::npos);
    EXPECT_NE(report->find("|<table width=\"750\""), std::string::npos);
    EXPECT_NE(report->find("    Velora :      12\r\n"), std::string::npos);
  }
}

TEST(ReportBuilder, ResultTextCarriesMarkDisplayAndRankingDisk) {
  ReportPages p = SomePages();
  p.markDisplayMode = "1280 x 1024 32bit";
  p.markFontSmoothing = "ClearType";
  p.ranking.disk = "ST320410A";
  p.ranking.diskSize = "20";
  p.result.display[0].width = 1280;  // a full run started
  const std::string rule(78, '-');
  EXPECT_EQ(
      Build("%VeloraResult%", p)
          .rfind(rule + "\r\nVelora Result\r\n" + rule +
                     "\r\n   Display Mode : 1280 x 1024 32bit (ClearType)\r\n"
                     "      Disk Info : ST320410A [ 20.0 GB ]\r\n\r\n    Velora :       0\r\n",
                 0),
      0u);
}

}  // namespace
}  // namespace velora
