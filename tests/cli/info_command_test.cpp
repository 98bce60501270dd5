#include "cli/info_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

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
  EXPECT_EQ(c->pages,
            (std::vector<std::string>{"system", "cpu", "feature", "device", "pci", "dll"}));
  c = ParseInfoCommand({"dll", "device"}, error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pages, (std::vector<std::string>{"device", "dll"}));
  EXPECT_FALSE(c->json);
  EXPECT_FALSE(ParseInfoCommand({"disk"}, error));
  EXPECT_NE(error.find("disk"), std::string::npos);
}

TEST(InfoCommand, JsonKeepsOrderLabelsAndReplacesBytesThatAreNotUtf8) {
  PageView view;
  view.name = "CPU";
  view.groups = {{"", {{"Name String", "Bad\xff byte"}, {"MMX", "", true, true}}}};
  view.tables = {{"Cache", {"Cache", "Detail Info"}, {{"L2 Cache", "512 KB"}}}};
  const auto json = nlohmann::json::parse(PageViewsJson({view}));
  const auto& page = json.at("pages").at(0);
  EXPECT_EQ(page.at("name"), "CPU");
  const auto& fields = page.at("groups").at(0).at("fields");
  EXPECT_EQ(fields.at(0).at("label"), "Name String");
  EXPECT_EQ(fields.at(0).at("value"), "Bad\xEF\xBF\xBD byte");
  EXPECT_EQ(fields.at(1).at("enabled"), true);
  EXPECT_FALSE(fields.at(1).contains("value"));
  EXPECT_EQ(page.at("tables").at(0).at("rows").at(0).at(1), "512 KB");
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
