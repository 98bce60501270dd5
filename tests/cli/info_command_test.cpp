#include "cli/info_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/ui_language.h"

namespace velora {
namespace {

TEST(InfoCommand, PagesInWindowOrderEachOnceAndAllByDefault) {
  std::string error;
  auto c = ParseInfoCommand({"pci", "system", "pci", "--json"}, error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pages, (std::vector<std::string>{"system", "pci"}));
  EXPECT_TRUE(c->json);
  c = ParseInfoCommand({}, error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pages, (std::vector<std::string>{"system", "cpu", "feature", "device", "pci", "disk",
                                                "dll", "info"}));
  c = ParseInfoCommand({"dll", "device"}, error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pages, (std::vector<std::string>{"device", "dll"}));
  EXPECT_FALSE(c->json);
  EXPECT_FALSE(ParseInfoCommand({"dsik"}, error));
  EXPECT_NE(error.find("dsik"), std::string::npos);
}

TEST(InfoCommand, IdentifyFileIsForTheDiskPageAlone) {
  std::string error;
  auto c = ParseInfoCommand({"disk", "--identify-file", "block.txt"}, error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->identifyFile, "block.txt");
  EXPECT_EQ(c->pages, (std::vector<std::string>{"disk"}));
  EXPECT_FALSE(ParseInfoCommand({"--identify-file"}, error));
  EXPECT_FALSE(ParseInfoCommand({"cpu", "--identify-file", "block.txt"}, error));
  EXPECT_FALSE(ParseInfoCommand({"all", "--identify-file", "block.txt"}, error));
}

TEST(InfoCommand, IdentifyFileDecodesARecordedBlockOrSaysWhyNot) {
  PageView view;
  std::string error;
  const std::string block =
      std::string(VELORA_TESTDATA) + "/ata-identify/libatasmart_Maxtor_96147H8--BAC51KJ0.txt";
  ASSERT_TRUE(IdentifyFileView(block, kEnglish, view, error)) << error;
  ASSERT_EQ(view.tables.size(), 1u) << "no drive list for a block of another machine";
  ASSERT_EQ(view.tables[0].rows.size(), 1u);
  EXPECT_EQ(view.tables[0].rows[0][0], "Maxtor 96147H8");
  EXPECT_EQ(view.tables[0].rows[0][1], "IDE");  // a parallel ATA disk
  // LBA28: 120060864 sectors, 61,471,162,368 bytes; tenths of GB are cut, not rounded.
  EXPECT_EQ(view.tables[0].rows[0][2], "61.4");

  EXPECT_FALSE(IdentifyFileView("/nonexistent/block.txt", kEnglish, view, error));
  EXPECT_NE(error.find("/nonexistent/block.txt"), std::string::npos);
  EXPECT_NE(error.find("No such file"), std::string::npos);
  EXPECT_FALSE(IdentifyFileView("/proc/self/status", kEnglish, view, error));
  EXPECT_NE(error.find("not an IDENTIFY block"), std::string::npos);
  EXPECT_FALSE(IdentifyFileView("/tmp", kEnglish, view, error)) << "a folder is no block";
}

TEST(InfoCommand, TextHasOneLinePerFieldAndRow) {
  PageView view;
  view.name = "PCI";
  view.groups = {{"PCI Device", {{"Bus", "0"}, {"NX", "", true, false}}}};
  view.tables = {{"", {"Bus", "Dev"}, {{"0", "1"}, {"0", "2"}}}};
  EXPECT_EQ(PageViewText(view),
            "== PCI ==\n[PCI Device]\nBus : 0\nNX : NO\nBus | Dev\n0 | 1\n0 | 2\n");
}

}  // namespace
}  // namespace velora
