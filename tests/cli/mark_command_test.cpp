#include "cli/mark_command.h"

#include <gtest/gtest.h>

#include "bench/bench_result.h"

namespace velora {
namespace {

TEST(MarkCommand, NoWordsIsAFullRunWithDefaults) {
  std::string error;
  const auto command = ParseMarkCommand({}, error);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->test, kTestOverall);
  EXPECT_EQ(command->hddSizeMb, 128);
  EXPECT_EQ(command->mask, "");
}

TEST(MarkCommand, TestNamesAndOptions) {
  std::string error;
  const auto command =
      ParseMarkCommand({"hdd", "--hdd-dir", "/data", "--hdd-size", "256MB", "--mask", "0101"},
                       error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->test, kTestHdd);
  EXPECT_EQ(command->hddDir, "/data");
  EXPECT_EQ(command->hddSizeMb, 256);
  EXPECT_EQ(command->mask, "0101");
  EXPECT_EQ(TestOfName("OGL"), kTestOgl);
  EXPECT_EQ(TestOfName("Mark"), kTestOverall);
}

TEST(MarkCommand, RefusesWhatCannotRun) {
  std::string error;
  // MMT and D3D run only within a full run; NET never.
  EXPECT_FALSE(ParseMarkCommand({"MMT"}, error));
  EXPECT_FALSE(ParseMarkCommand({"D3D"}, error));
  EXPECT_FALSE(ParseMarkCommand({"ALU", "FPU"}, error));
  EXPECT_FALSE(ParseMarkCommand({"--mask", "1000"}, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-size", "0"}, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-size", "4096"}, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-size", "12x"}, error));
  EXPECT_FALSE(ParseMarkCommand({"--hdd-dir"}, error));
  EXPECT_EQ(error, "--hdd-dir needs a value");
}

}  // namespace
}  // namespace velora
