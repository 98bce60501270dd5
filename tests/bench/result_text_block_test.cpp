#include "bench/result_text_block.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(ResultTextBlock, HeaderDisplayLineAndScoreLines) {
  BenchResult result;
  result.score[0][0] = 12345;
  result.score[0][kTestAlu] = 4000;
  result.score[kTestAlu][2] = 987;
  result.score[0][kTestMem] = 2000;
  result.score[kTestMem][0] = 512;
  result.value[kTestMem][0] = 1234567;
  result.score[kTestD2d][5] = 42;
  result.value[kTestD2d][5] = 6001;
  result.score[kTestOgl][0] = 3;
  result.value[kTestOgl][0] = 9;
  result.value[kTestOgl][1] = 77;
  result.value[kTestOgl][5] = 2;
  const std::string block = ResultTextBlock(result, "1024 x 768 32bit", "Normal", "");
  const std::string rule(78, '-');
  EXPECT_EQ(block.rfind(rule + "\r\nVelora Result\r\n" + rule + "\r\n"
                        "   Display Mode : 1024 x 768 32bit (Normal)\r\n"
                        "\r\n"
                        "    Velora :   12345\r\n\r\n"
                        "[ ALU ]              4000\r\n"
                        "      Fibonacci :       0\r\n",
                        0),
            0u);
  EXPECT_NE(block.find("   Eratosthenes :     987\r\n"), std::string::npos);
  EXPECT_NE(block.find("[ MEM ]              2000\r\n           Read : 12345.67 MB/s (   512 )\r\n"),
            std::string::npos);
  EXPECT_NE(block.find("   Sprite 10000 :   60.01 FPS  (    42 )\r\n"), std::string::npos);
  // A scene line prints its score, the figures beside it their values.
  EXPECT_NE(block.find("  Scene 1 Score :       3\r\n  Lines (x1000) : (     77)\r\n"
                       "  Scene 1  CPUs : (      0)\r\n"),
            std::string::npos);
  EXPECT_EQ(block.substr(block.size() - 29), "  Scene 2  CPUs : (      2)\r\n");
}

TEST(ResultTextBlock, NoDisplayLineWithoutAFullRun) {
  const std::string block = ResultTextBlock(BenchResult{}, "", "", "");
  EXPECT_EQ(block.find("Display Mode"), std::string::npos);
  EXPECT_NE(block.find("Velora Result\r\n" + std::string(78, '-') + "\r\n\r\n    Velora :       0"),
            std::string::npos);
}

}  // namespace
}  // namespace velora
