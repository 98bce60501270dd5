// The Edit menu's report templates in the window: the submenus built at start-up and the three
// ways a report leaves the program.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "app/main_dialog.h"
#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

class ReportMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }

  void SetUp() override {
    UiLanguage = kEnglish;
    std::filesystem::create_directories(dir.file("bin"));
    WriteText(dir.file("bin/template/text/Alpha.txt"), "A %VERSION%\r\n");
    WriteText(dir.file("bin/template/text/Beta.txt"), "B");
    WriteText(dir.file("bin/template/text/Empty.txt"), "");
    WriteText(dir.file("user/velora09/template/html/Page.html"), "<p>%VERSION%</p>");
    window = std::make_unique<MainDialog>(context);
    window->templateRoots = TemplateRoots(dir.file("bin"), dir.file("user"), "");
    window->openFile = [this](const std::string& path) { opened.push_back(path); };
    window->openAddress = [this](const std::string& a) { opened.push_back(a); };
    window->showMessage = [this](const std::string& text, const std::string&) {
      opened.push_back("message " + text);
    };
    window->copyText = [this](const std::string& report) { copied.push_back(report); };
    window->askSavePath = [this](ReportForm) { return savePath; };
    window->previewFolder = dir.file("cache/velora09");
    ASSERT_TRUE(window->initialise());
  }

  QMenu* Submenu(int group) const {
    return window->menuBar()->actions()[1]->menu()->actions()[group]->menu();
  }
  std::vector<std::pair<int, std::string>> Items(int group) const {
    std::vector<std::pair<int, std::string>> items;
    for (QAction* a : Submenu(group)->actions())
      items.emplace_back(a->data().toInt(), a->text().toStdString());
    return items;
  }

  TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  MainWindowContext context{binding, settings, log, [] { return uint32_t{kNoWmi}; }, "bench"};
  std::unique_ptr<MainDialog> window;
  std::vector<std::string> opened, copied;
  std::optional<std::string> savePath;
};

TEST_F(ReportMenuTest, SixSubmenusListTheTemplatesLastFoundFirst) {
  QMenu* edit = window->menuBar()->actions()[1]->menu();
  ASSERT_EQ(edit->actions().size(), 6);
  const char* captions[] = {"[TEXT] Copy", "[TEXT] Save", "[TEXT] Preview",
                            "[HTML] Copy", "[HTML] Save", "[HTML] Preview"};
  for (int g = 0; g < 6; ++g) EXPECT_EQ(edit->actions()[g]->text().toStdString(), captions[g]);
  // Alpha 0, Beta 1, Empty 2 (left out).
  using Items = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(this->Items(0), (Items{{3001, "Beta.txt"}, {3000, "Alpha.txt"}}));
  EXPECT_EQ(this->Items(2), (Items{{3201, "Beta.txt"}, {3200, "Alpha.txt"}}));
  EXPECT_EQ(this->Items(3), (Items{{3300, "Page.html"}}));
  EXPECT_EQ(this->Items(5), (Items{{3500, "Page.html"}}));
}

TEST_F(ReportMenuTest, CopySaveAndPreview) {
  window->runCommand(3000);
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(copied[0], "A Velora 0.9.115.275\r\n");

  window->runCommand(3401);  // no such item: nothing
  savePath.reset();
  window->runCommand(3100);  // cancelled
  EXPECT_TRUE(opened.empty());
  savePath = dir.file("saved.txt");
  window->runCommand(3101);
  EXPECT_EQ(ReadText(dir.file("saved.txt")), "B");

  window->runCommand(3500);
  EXPECT_EQ(ReadText(dir.file("cache/velora09/temp.html")), "<p>Velora 0.9.115.275</p>");
  window->runCommand(3200);
  EXPECT_EQ(ReadText(dir.file("cache/velora09/temp.txt")), "A Velora 0.9.115.275\r\n");
  EXPECT_EQ(opened, (std::vector<std::string>{"file://" + dir.file("cache/velora09/temp.html"),
                                              dir.file("cache/velora09/temp.txt")}));
}

TEST_F(ReportMenuTest, ATemplateGoneSinceStartUpDoesNothing) {
  std::filesystem::remove(dir.file("bin/template/text/Alpha.txt"));
  window->runCommand(3000);
  window->runCommand(3200);
  EXPECT_TRUE(copied.empty());
  EXPECT_TRUE(opened.empty()) << "no viewer and no message";
  EXPECT_FALSE(std::filesystem::exists(dir.file("cache/velora09/temp.txt")));
}

TEST_F(ReportMenuTest, AFileThatCannotBeWrittenIsReported) {
  savePath = dir.file("no/such/folder/r.txt");
  window->runCommand(3101);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].rfind("message " + dir.file("no/such/folder/r.txt") + ": ", 0), 0u)
      << opened[0];
}

}  // namespace
}  // namespace velora
