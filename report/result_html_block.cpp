#include <array>
#include <cstdlib>

#include "report/report_blocks.h"

namespace velora {

namespace {

enum class Cell { kPlain, kRate, kFps, kBracketedValue };

struct HtmlRow {
  int test;
  int subTest;
  const char* label;
  Cell cell;
};

struct Heading {
  int test;
  const char* name;
};

constexpr std::array<Heading, 7> kHeadings{{{kTestAlu, kTestShortNames[kTestAlu]},
                                            {kTestFpu, kTestShortNames[kTestFpu]},
                                            {kTestMem, kTestShortNames[kTestMem]},
                                            {kTestHdd, kTestShortNames[kTestHdd]},
                                            {kTestGdi, kTestShortNames[kTestGdi]},
                                            {kTestD2d, kTestShortNames[kTestD2d]},
                                            {kTestOgl, kTestShortNames[kTestOgl]}}};

// One row per score line of the text block, in its order.
constexpr std::array<HtmlRow, 34> kRows{{
    {kTestAlu, 0, SubTestName(kTestAlu, 0), Cell::kPlain},
    {kTestAlu, 1, SubTestName(kTestAlu, 1), Cell::kPlain},
    {kTestAlu, 2, SubTestName(kTestAlu, 2), Cell::kPlain},
    {kTestAlu, 3, SubTestName(kTestAlu, 3), Cell::kPlain},
    {kTestFpu, 0, SubTestName(kTestFpu, 0), Cell::kPlain},
    {kTestFpu, 1, SubTestName(kTestFpu, 1), Cell::kPlain},
    {kTestFpu, 2, SubTestName(kTestFpu, 2), Cell::kPlain},
    {kTestFpu, 3, SubTestName(kTestFpu, 3), Cell::kPlain},
    {kTestMem, 0, SubTestName(kTestMem, 0), Cell::kRate},
    {kTestMem, 1, SubTestName(kTestMem, 1), Cell::kRate},
    {kTestMem, 2, SubTestName(kTestMem, 2), Cell::kRate},
    {kTestMem, 3, SubTestName(kTestMem, 3), Cell::kRate},
    {kTestHdd, 0, SubTestName(kTestHdd, 0), Cell::kRate},
    {kTestHdd, 1, SubTestName(kTestHdd, 1), Cell::kRate},
    {kTestHdd, 2, SubTestName(kTestHdd, 2), Cell::kRate},
    {kTestHdd, 3, SubTestName(kTestHdd, 3), Cell::kRate},
    {kTestHdd, 4, SubTestName(kTestHdd, 4), Cell::kRate},
    {kTestHdd, 5, SubTestName(kTestHdd, 5), Cell::kRate},
    {kTestGdi, 0, SubTestName(kTestGdi, 0), Cell::kPlain},
    {kTestGdi, 1, SubTestName(kTestGdi, 1), Cell::kPlain},
    {kTestGdi, 2, SubTestName(kTestGdi, 2), Cell::kPlain},
    {kTestGdi, 3, SubTestName(kTestGdi, 3), Cell::kPlain},
    {kTestD2d, 0, "Sprite    10", Cell::kFps},
    {kTestD2d, 1, "Sprite   100", Cell::kFps},
    {kTestD2d, 2, "Sprite   500", Cell::kFps},
    {kTestD2d, 3, "Sprite  1000", Cell::kFps},
    {kTestD2d, 4, "Sprite  5000", Cell::kFps},
    {kTestD2d, 5, "Sprite 10000", Cell::kFps},
    // The scenes print their scores; the line and polygon counts and the processor counts are
    // the values their sub-tests measured.
    {kTestOgl, 0, "Scene 1", Cell::kPlain},
    {kTestOgl, 1, "Lines (x1000)", Cell::kBracketedValue},
    {kTestOgl, 2, "Scene 1 CPU", Cell::kBracketedValue},
    {kTestOgl, 3, "Scene 2 Score", Cell::kPlain},
    {kTestOgl, 4, "Polygons (x1000)", Cell::kBracketedValue},
    {kTestOgl, 5, "Scene 2 CPU", Cell::kBracketedValue},
}};

}  // namespace

std::string ResultHtmlBlock(const BenchResult& result) {
  std::string html = Printed(
      "<table width=\"750\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\r\n"
      "<tr><td bgcolor=\"#bbbbbb\" width=\"250\">Velora</td><td width=\"500\">%7d</td></tr>\r\n",
      result.score[0][0]);
  for (const Heading& heading : kHeadings) {
    html += Printed("<tr><td bgcolor=\"#dddddd\">%s</td><td>%7d</td></tr>\r\n", heading.name,
                    result.score[0][heading.test]);
    for (const HtmlRow& row : kRows) {
      if (row.test != heading.test) continue;
      const int32_t score = result.score[row.test][row.subTest];
      const int32_t value = result.value[row.test][row.subTest];
      std::string cell;
      switch (row.cell) {
        case Cell::kPlain: cell = Printed("%7d", score); break;
        case Cell::kRate: cell = Printed("%7.2f MB/s (%6d )", value / 100.0, score); break;
        case Cell::kFps: cell = Printed("%7.2f FPS (%6d )", value / 100.0, score); break;
        case Cell::kBracketedValue: cell = Printed("(%7d)", value); break;
      }
      html += std::string("<tr><td>") + row.label + "</td><td>" + cell + "</td></tr>\r\n";
    }
  }
  return html + "</table>\r\n";
}

std::string RankingDiskLine(const RankingForm& form) {
  if (form.raid != 0) {
    if (form.raidController.empty() || form.raidSize.empty() || form.raidType.empty()) return "";
    return Printed("      Disk Info : %s [ %.1f GB] [ %s ]\r\n", form.raidController.c_str(),
                   std::atof(form.raidSize.c_str()), form.raidType.c_str());
  }
  if (form.disk.empty() || form.diskSize.empty()) return "";
  return Printed("      Disk Info : %s [ %.1f GB ]\r\n", form.disk.c_str(),
                 std::atof(form.diskSize.c_str()));
}

}  // namespace velora
