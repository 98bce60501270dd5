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
  const char* label;
  LineForm form;
};

struct TestHeading {
  int test;
  const char* heading;
};

constexpr std::array<TestHeading, 7> kHeadings{{
    {kTestAlu, "[ ALU ]           %7d\r\n"},
    {kTestFpu, "[ FPU ]           %7d\r\n"},
    {kTestMem, "[ MEM ]           %7d\r\n"},
    {kTestHdd, "[ HDD ]           %7d\r\n"},
    {kTestGdi, "[ GDI ]           %7d\r\n"},
    {kTestD2d, "[ D2D ]           %7d\r\n"},
    {kTestOgl, "[ OGL ]           %7d\r\n"},
}};

// One row per printed score line, in report order.
constexpr std::array<SubLine, 34> kSubLines{{
    {kTestAlu, 0, "      Fibonacci : ", LineForm::kPlain},
    {kTestAlu, 1, "      Napierian : ", LineForm::kPlain},
    {kTestAlu, 2, "   Eratosthenes : ", LineForm::kPlain},
    {kTestAlu, 3, "      QuickSort : ", LineForm::kPlain},
    {kTestFpu, 0, "        MikoFPU : ", LineForm::kPlain},
    {kTestFpu, 1, "     RandMeanSS : ", LineForm::kPlain},
    {kTestFpu, 2, "            FFT : ", LineForm::kPlain},
    {kTestFpu, 3, "     Mandelbrot : ", LineForm::kPlain},
    {kTestMem, 0, "           Read : ", LineForm::kRate},
    {kTestMem, 1, "          Write : ", LineForm::kRate},
    {kTestMem, 2, "     Read/Write : ", LineForm::kRate},
    {kTestMem, 3, "          Cache : ", LineForm::kRate},
    {kTestHdd, 0, "           Read : ", LineForm::kRate},
    {kTestHdd, 1, "          Write : ", LineForm::kRate},
    {kTestHdd, 2, " RandomRead512K : ", LineForm::kRate},
    {kTestHdd, 3, "RandomWrite512K : ", LineForm::kRate},
    {kTestHdd, 4, " RandomRead 64K : ", LineForm::kRate},
    {kTestHdd, 5, "RandomWrite 64K : ", LineForm::kRate},
    {kTestGdi, 0, "           Text : ", LineForm::kPlain},
    {kTestGdi, 1, "         Square : ", LineForm::kPlain},
    {kTestGdi, 2, "         Circle : ", LineForm::kPlain},
    {kTestGdi, 3, "         BitBlt : ", LineForm::kPlain},
    {kTestD2d, 0, "   Sprite    10 : ", LineForm::kFps},
    {kTestD2d, 1, "   Sprite   100 : ", LineForm::kFps},
    {kTestD2d, 2, "   Sprite   500 : ", LineForm::kFps},
    {kTestD2d, 3, "   Sprite  1000 : ", LineForm::kFps},
    {kTestD2d, 4, "   Sprite  5000 : ", LineForm::kFps},
    {kTestD2d, 5, "   Sprite 10000 : ", LineForm::kFps},
    {kTestOgl, 0, "  Scene 1 Score : ", LineForm::kPlain},
    {kTestOgl, 1, "  Lines (x1000) : ", LineForm::kMeasured},
    {kTestOgl, 2, "  Scene 1  CPUs : ", LineForm::kMeasured},
    {kTestOgl, 3, "  Scene 2 Score : ", LineForm::kPlain},
    {kTestOgl, 4, "Polygons(x1000) : ", LineForm::kMeasured},
    {kTestOgl, 5, "  Scene 2  CPUs : ", LineForm::kMeasured},
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
  for (const TestHeading& heading : kHeadings) {
    block += Formatted(heading.heading, result.score[0][heading.test]);
    for (const SubLine& line : kSubLines) {
      if (line.test != heading.test) continue;
      const int32_t score = result.score[line.test][line.subTest];
      const int32_t value = result.value[line.test][line.subTest];
      block += line.label;
      switch (line.form) {
        case LineForm::kPlain:
          block += Formatted("%7d\r\n", score);
          break;
        case LineForm::kRate:
          block += Formatted("%7.2f MB/s (%6d )\r\n", value / 100.0, score);
          break;
        case LineForm::kFps:
          block += Formatted("%7.2f FPS  (%6d )\r\n", value / 100.0, score);
          break;
        case LineForm::kMeasured:
          block += Formatted("(%7d)\r\n", value);
          break;
      }
    }
  }
  return block;
}

}  // namespace velora
