#include "bench/result_text_block.h"

#include <array>
#include <cstdio>

namespace velora {

namespace {

// kMeasured: the OpenGL figures beside a scene (lines or polygons per second, processors kept
// busy) carry no score of their own, so their line prints the sub-test's value.
enum class LineForm { kPlain, kRate, kFps, kMeasured };

struct SubLine {
  int test;
  int subTest;
  const char* label;  // right-aligned in 15 places before " : "
  LineForm form;
};

// The tests with a heading of their own, in report order.
constexpr std::array<int, 7> kHeadings{kTestAlu, kTestFpu, kTestMem, kTestHdd,
                                       kTestGdi, kTestD2d, kTestOgl};

// One row per printed score line, in report order.
constexpr std::array<SubLine, 34> kSubLines{{
    {kTestAlu, 0, SubTestName(kTestAlu, 0), LineForm::kPlain},
    {kTestAlu, 1, SubTestName(kTestAlu, 1), LineForm::kPlain},
    {kTestAlu, 2, SubTestName(kTestAlu, 2), LineForm::kPlain},
    {kTestAlu, 3, SubTestName(kTestAlu, 3), LineForm::kPlain},
    {kTestFpu, 0, SubTestName(kTestFpu, 0), LineForm::kPlain},
    {kTestFpu, 1, SubTestName(kTestFpu, 1), LineForm::kPlain},
    {kTestFpu, 2, SubTestName(kTestFpu, 2), LineForm::kPlain},
    {kTestFpu, 3, SubTestName(kTestFpu, 3), LineForm::kPlain},
    {kTestMem, 0, SubTestName(kTestMem, 0), LineForm::kRate},
    {kTestMem, 1, SubTestName(kTestMem, 1), LineForm::kRate},
    {kTestMem, 2, SubTestName(kTestMem, 2), LineForm::kRate},
    {kTestMem, 3, SubTestName(kTestMem, 3), LineForm::kRate},
    {kTestHdd, 0, SubTestName(kTestHdd, 0), LineForm::kRate},
    {kTestHdd, 1, SubTestName(kTestHdd, 1), LineForm::kRate},
    {kTestHdd, 2, SubTestName(kTestHdd, 2), LineForm::kRate},
    {kTestHdd, 3, SubTestName(kTestHdd, 3), LineForm::kRate},
    {kTestHdd, 4, SubTestName(kTestHdd, 4), LineForm::kRate},
    {kTestHdd, 5, SubTestName(kTestHdd, 5), LineForm::kRate},
    {kTestGdi, 0, SubTestName(kTestGdi, 0), LineForm::kPlain},
    {kTestGdi, 1, SubTestName(kTestGdi, 1), LineForm::kPlain},
    {kTestGdi, 2, SubTestName(kTestGdi, 2), LineForm::kPlain},
    {kTestGdi, 3, SubTestName(kTestGdi, 3), LineForm::kPlain},
    {kTestD2d, 0, "Sprite    10", LineForm::kFps},
    {kTestD2d, 1, "Sprite   100", LineForm::kFps},
    {kTestD2d, 2, "Sprite   500", LineForm::kFps},
    {kTestD2d, 3, "Sprite  1000", LineForm::kFps},
    {kTestD2d, 4, "Sprite  5000", LineForm::kFps},
    {kTestD2d, 5, "Sprite 10000", LineForm::kFps},
    {kTestOgl, 0, "Scene 1 Score", LineForm::kPlain},
    {kTestOgl, 1, "Lines (x1000)", LineForm::kMeasured},
    {kTestOgl, 2, "Scene 1  CPUs", LineForm::kMeasured},
    {kTestOgl, 3, "Scene 2 Score", LineForm::kPlain},
    {kTestOgl, 4, "Polygons(x1000)", LineForm::kMeasured},
    {kTestOgl, 5, "Scene 2  CPUs", LineForm::kMeasured},
}};

std::string Formatted(const char* format, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

std::string ResultTextBlock(const BenchResult& result, const std::string& displayMode,
                            const std::string& fontSmoothing, const std::string& diskLine) {
  const std::string rule(78, '-');
  std::string block = rule + "\r\nVelora Result\r\n" + rule + "\r\n";
  if (!displayMode.empty()) {
    block += "   Display Mode : " + displayMode + " (" + fontSmoothing + ")\r\n";
  }
  block += diskLine;
  block += "\r\n";
  block += Formatted("    Velora : %7d\r\n\r\n", result.score[0][0]);
  for (const int test : kHeadings) {
    block += Formatted("[ %s ]           %7d\r\n", TestShortName(test), result.score[0][test]);
    for (const SubLine& line : kSubLines) {
      if (line.test != test) continue;
      const int32_t score = result.score[line.test][line.subTest];
      const int32_t value = result.value[line.test][line.subTest];
      block += Formatted("%15s : ", line.label);
      switch (line.form) {
        case LineForm::kPlain: block += Formatted("%7d\r\n", score); break;
        case LineForm::kRate:
          block += Formatted("%7.2f MB/s (%6d )\r\n", value / 100.0, score);
          break;
        case LineForm::kFps:
          block += Formatted("%7.2f FPS  (%6d )\r\n", value / 100.0, score);
          break;
        case LineForm::kMeasured: block += Formatted("(%7d)\r\n", value); break;
      }
    }
  }
  return block;
}

}  // namespace velora
