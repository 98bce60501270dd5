// The template search: folders in order, the user's file winning, ids and menu order.

#include "report/template_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

struct Layout {
  Layout() { std::filesystem::create_directories(program()); }
  TempFolder folder;
  std::string program() const { return folder.path() + "/prefix/bin"; }
  std::string installed() const { return folder.path() + "/prefix/share/velora09/template"; }
  std::string user() const { return folder.path() + "/data/velora09/template"; }
  std::vector<std::string> roots() const {
    return TemplateRoots(program(), folder.path() + "/data", "/home/nobody");
  }
};

TEST(TemplateFolders, RootsInSearchOrder) {
  EXPECT_EQ(
      TemplateRoots("/opt/v/bin", "/x/data", "/home/u"),
      (std::vector<std::string>{"/opt/v/bin/template", "/opt/v/bin/../share/velora09/template",
                                "/x/data/velora09/template"}));
  EXPECT_EQ(TemplateRoots("/opt/v/bin", "", "/home/u").back(),
            "/home/u/.local/share/velora09/template");
  EXPECT_EQ(TemplateRoots("/opt/v/bin", "relative", "/home/u").back(),
            "/home/u/.local/share/velora09/template")
      << "a relative XDG_DATA_HOME is ignored";
  EXPECT_EQ(TemplateRoots("/opt/v/bin", "", "").size(), 2u);
}

TEST(TemplateFolders, TwoTemplatesGetIdsInSearchOrderAndTheLastFoundIsListedFirst) {
  Layout l;
  WriteText(l.program() + "/template/text/B.txt", "b");
  WriteText(l.program() + "/template/text/A.txt", "a");
  WriteText(l.program() + "/template/text/notes.md", "not a template");
  WriteText(l.program() + "/template/html/A.html", "<p>a</p>");
  const auto files = SearchTemplates(l.roots(), ReportForm::kText);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "A.txt");
  EXPECT_EQ(files[1].name, "B.txt");
  const auto items = TemplateMenuItems(files, 1);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].id, 3101);
  EXPECT_EQ(items[0].caption, "B.txt");
  EXPECT_EQ(items[1].id, 3100);
  EXPECT_EQ(items[1].caption, "A.txt");
  const auto html = TemplateMenuItems(SearchTemplates(l.roots(), ReportForm::kHtml), 5);
  ASSERT_EQ(html.size(), 1u);
  EXPECT_EQ(html[0].id, 3500);
  EXPECT_EQ(html[0].caption, "A.html");
}

TEST(TemplateFolders, EmptyFilesAreCountedButNotOffered) {
  Layout l;
  WriteText(l.program() + "/template/text/A.txt", "");
  WriteText(l.program() + "/template/text/B.txt", "b");
  const auto items = TemplateMenuItems(SearchTemplates(l.roots(), ReportForm::kText), 2);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].id, 3201) << "the empty A.txt still took position 0";
}

TEST(TemplateFolders, NoFolderOrAnEmptyFolderOffersNothing) {
  Layout l;
  EXPECT_TRUE(SearchTemplates(l.roots(), ReportForm::kText).empty());
  std::filesystem::create_directories(l.program() + "/template/text");
  EXPECT_TRUE(TemplateMenuItems(SearchTemplates(l.roots(), ReportForm::kText), 0).empty());
}

TEST(TemplateFolders, InstalledThenUserFolderAndTheUserFileWins) {
  Layout l;
  WriteText(l.installed() + "/text/Standard.txt", "shipped");
  WriteText(l.installed() + "/text/Full.txt", "shipped full");
  WriteText(l.user() + "/text/Standard.txt", "mine");
  WriteText(l.user() + "/text/Extra.txt", "extra");
  const auto files = SearchTemplates(l.roots(), ReportForm::kText);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].name, "Full.txt");
  EXPECT_EQ(files[1].name, "Standard.txt") << "counted once, where it was first found";
  EXPECT_EQ(files[2].name, "Extra.txt");
  EXPECT_EQ(ReadText(files[1].path), "mine");
  const auto path = TemplatePath(l.roots(), ReportForm::kText, "Standard.txt");
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*ReadTemplateBytes(*path), "mine");
  // An empty user file hides the shipped one of its name.
  WriteText(l.user() + "/text/Full.txt", "");
  const auto items = TemplateMenuItems(SearchTemplates(l.roots(), ReportForm::kText), 0);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].caption, "Extra.txt");
  EXPECT_EQ(items[1].caption, "Standard.txt");
}

TEST(TemplateFolders, AVanishedTemplateIsNotFound) {
  Layout l;
  WriteText(l.program() + "/template/html/Gone.html", "x");
  ASSERT_TRUE(TemplatePath(l.roots(), ReportForm::kHtml, "Gone.html").has_value());
  std::filesystem::remove(l.program() + "/template/html/Gone.html");
  EXPECT_FALSE(TemplatePath(l.roots(), ReportForm::kHtml, "Gone.html").has_value());
  EXPECT_FALSE(TemplatePath(l.roots(), ReportForm::kText, "Gone.html").has_value());
  EXPECT_FALSE(TemplatePath(l.roots(), ReportForm::kHtml, "../html/Gone.html").has_value());
  EXPECT_FALSE(ReadTemplateBytes(l.program() + "/template/html/Gone.html").has_value());
}

TEST(TemplateFolders, TemplateBytesAreReadAsTheyAre) {
  Layout l;
  std::string bytes("a\r\nb\nc\0d\xFF", 10);
  bytes += std::string(5000, 'x');  // longer than any one read
  WriteText(l.program() + "/template/text/Raw.txt", bytes);
  EXPECT_EQ(*ReadTemplateBytes(l.program() + "/template/text/Raw.txt"), bytes);
}

TEST(TemplateCommands, IdsGroupsFormsAndActions) {
  EXPECT_EQ(TemplateCommandId(0, 0), 3000);
  EXPECT_EQ(TemplateCommandId(5, 7), 3507);
  EXPECT_EQ(TemplateGroupOf(3000), 0);
  EXPECT_EQ(TemplateGroupOf(3299), 2);
  EXPECT_EQ(TemplateGroupOf(3599), 5);
  EXPECT_EQ(TemplateGroupOf(3600), -1) << "groups 6 to 9 have no submenu";
  EXPECT_EQ(TemplateGroupOf(2999), -1);
  EXPECT_EQ(TemplateGroupOf(32770), -1);
  EXPECT_EQ(FormOfGroup(2), ReportForm::kText);
  EXPECT_EQ(FormOfGroup(3), ReportForm::kHtml);
  EXPECT_EQ(ActionOfGroup(0), ReportAction::kCopy);
  EXPECT_EQ(ActionOfGroup(4), ReportAction::kSave);
  EXPECT_EQ(ActionOfGroup(5), ReportAction::kPreview);
}

TEST(ShippedTemplates, EachFormHasStandardAndFullAndFullUsesEveryPlaceholder) {
  const std::string root = VELORA_SOURCE_DIR "/template";
  const char* const words[] = {"%MsrInfo%",
                               "%DisplayMode%",
                               "%ChipSet%",
                               "%North%",
                               "%South%",
                               "%IDEController%",
                               "%DirectX%",
                               "%Video%",
                               "%VideoProduct%",
                               "%VideoVendor%",
                               "%VideoChip%",
                               "%VideoRAM%",
                               "%VideoDriverVersion%",
                               "%VideoDriverDate%",
                               "%PciList%",
                               "%HddList%",
                               "%VERSION%",
                               "%OS%",
                               "%Memory%",
                               "%BIOSVendor%",
                               "%BIOSCaption%",
                               "%BIOSVersion%",
                               "%BIOSDate%",
                               "%SMBIOSCaption%",
                               "%SMBIOSVersion%",
                               "%MotherVendor%",
                               "%MotherProduct%",
                               "%MotherVersion%",
                               "%SystemManufacturer%",
                               "%SystemModel%",
                               "%CPUDetail%",
                               "%CPUIDDetail%",
                               "%VeloraResult%",
                               "%VeloraResultHtml%",
                               "%IdeDetailInfo%"};
  ASSERT_EQ(std::size(words), 35u);
  for (const char* full : {"/text/Full.txt", "/html/Full.html"}) {
    const std::string text = ReadText(root + full);
    for (const char* word : words) {
      const bool textForm = std::string(full).find(".txt") != std::string::npos;
      if (textForm && std::string(word) == "%VeloraResultHtml%") continue;
      EXPECT_NE(text.find(word), std::string::npos) << full << " " << word;
    }
  }
  for (const char* name : {"/text/Standard.txt", "/text/Forum.txt", "/html/Standard.html", "/html/Forum.html"})
    EXPECT_FALSE(ReadText(root + name).empty()) << name;
}

}  // namespace
}  // namespace velora
