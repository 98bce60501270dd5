#include "app/main_dialog.h"

#include <QAction>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <cstdlib>
#include <thread>

#include "app/pages/mark_page.h"
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

class MainDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }

  void SetUp() override {
    UiLanguage = kJapanese;
    window = std::make_unique<MainDialog>(context);
    window->openFile = [this](const std::string& path) { opened.push_back(path); };
    window->openAddress = [this](const std::string& a) { opened.push_back(a); };
    window->showMessage = [this](const std::string& text, const std::string&) {
      opened.push_back("message " + text);
    };
  }
  void Start() { ASSERT_TRUE(window->initialise()); }

  std::string MenuBarText(int position) const {
    return window->menuBar()->actions()[position]->text().toStdString();
  }
  std::string Language() const { return settings.ReadSetting("Language"); }

  TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  MainWindowContext context{binding, settings, log, [] { return uint32_t{kNoWmi}; }, "bench"};
  std::unique_ptr<MainDialog> window;
  std::vector<std::string> opened;
};

TEST_F(MainDialogTest, ElevenPagesInTabOrderWithTheirCaptions) {
  Start();
  QTabWidget* tabs = window->tabs();
  ASSERT_EQ(tabs->count(), 11);
  const char* captions[] = {"Mark", "Ranking", "System", "CPU",  "Feature", "Device",
                            "PCI",  "Disk",    "DLL",    "Info", "Back"};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(tabs->tabText(i).toStdString(), captions[i]);
    EXPECT_EQ(tabs->widget(i), window->page(i));
    EXPECT_EQ(window->page(i)->tabIndex(), i);
  }
  EXPECT_EQ(tabs->currentIndex(), 0) << "the Mark page comes first";
}

TEST_F(MainDialogTest, TitleCarriesTheProbeReleaseAndTheSuffix) {
  Start();
  EXPECT_EQ(window->windowTitle().toStdString(), "Velora 0.9.115.275");
  window->setTitleSuffix("- Now WMI Initializing...");
  EXPECT_EQ(window->windowTitle().toStdString(), "Velora 0.9.115.275 - Now WMI Initializing...");
  window->setTitleSuffix("");
  EXPECT_EQ(window->windowTitle().toStdString(), "Velora 0.9.115.275 ");
}

// Other pages, reports and dialogs read the Mark page through the window's pages model, and the
// page speaks through the window's message sink, never through the window itself.
TEST_F(MainDialogTest, MarkPageIsReadThroughThePagesModelAndSpeaksThroughTheSink) {
  Start();
  window->setLanguage(kEnglish);
  const MarkPageData data = window->pages().ReadMarkPage();
  EXPECT_FALSE(data.running);
  EXPECT_FALSE(data.runComplete);
  EXPECT_EQ(data.result.score[0][0], 0);
  EXPECT_EQ(data.options.language, kEnglish) << "the language a run would speak";
  auto* mark = dynamic_cast<MarkPage*>(window->page(0));
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(data.options.processorMaskText, mark->currentOptions().processorMaskText);
  EXPECT_FALSE(data.options.processorMaskText.empty());

  window->showMessage = [this](const std::string& text, const std::string& caption) {
    opened.push_back(caption + ": " + text);
  };
  mark->showRunMessage("HDD capacity is insufficient.");
  EXPECT_EQ(opened, std::vector<std::string>{"bench: HDD capacity is insufficient."});
}

TEST_F(MainDialogTest, TitleSuffixFromAnotherThreadArrivesOnTheGuiThread) {
  Start();
  std::thread collector([this] { window->setTitleSuffix("- Now WMI Initializing..."); });
  collector.join();
  EXPECT_EQ(window->windowTitle().toStdString(), "Velora 0.9.115.275") << "not yet delivered";
  QApplication::processEvents();
  EXPECT_EQ(window->windowTitle().toStdString(), "Velora 0.9.115.275 - Now WMI Initializing...");
}

TEST_F(MainDialogTest, FreshStartIsJapaneseAndWritesTheLanguageKey) {
  ASSERT_FALSE(std::filesystem::exists(settings.path()));
  Start();
  EXPECT_EQ(MenuBarText(0), "ファイル (&F)");
  EXPECT_EQ(MenuBarText(1), "編集 (&E)");
  EXPECT_EQ(MenuBarText(2), "タブ (&T)");
  EXPECT_EQ(MenuBarText(3), "ヘルプ (&H)");
  EXPECT_EQ(MenuBarText(4), "Language (&L)");
  EXPECT_EQ(window->action(kCmdExit)->text().toStdString(), "終了 (&E)");
  EXPECT_EQ(Language(), "jp");
  EXPECT_TRUE(window->action(kCmdJapanese)->isChecked());
  EXPECT_FALSE(window->action(kCmdJapanese)->isEnabled());
  EXPECT_TRUE(window->action(kCmdEnglish)->isEnabled());
}

TEST_F(MainDialogTest, EnglishEntrySwitchesCaptionsAndChecks) {
  Start();
  window->action(kCmdEnglish)->trigger();
  EXPECT_EQ(UiLanguage.load(), kEnglish);
  EXPECT_EQ(MenuBarText(0), "File (&F)");
  EXPECT_EQ(MenuBarText(3), "Help (&H)");
  EXPECT_EQ(window->action(kCmdExit)->text().toStdString(), "Exit (&E)");
  EXPECT_FALSE(window->action(kCmdEnglish)->isEnabled());
  EXPECT_TRUE(window->action(kCmdEnglish)->isChecked());
  EXPECT_TRUE(window->action(kCmdJapanese)->isEnabled());
  EXPECT_FALSE(window->action(kCmdJapanese)->isChecked());
  EXPECT_EQ(Language(), "en");
  // The tab entries and page captions keep their texts.
  EXPECT_EQ(window->action(32777)->text().toStdString(), "Disk (&D)");
  EXPECT_EQ(window->tabs()->tabText(7).toStdString(), "Disk");
  window->action(kCmdJapanese)->trigger();
  EXPECT_EQ(MenuBarText(2), "タブ (&T)");
  EXPECT_EQ(Language(), "jp");
}

TEST_F(MainDialogTest, StoredEnglishIsUsedAtStart) {
  settings.WriteSetting("Language", "en");
  Start();
  EXPECT_EQ(MenuBarText(0), "File (&F)");
  EXPECT_EQ(Language(), "en");
}

TEST_F(MainDialogTest, ShownPageHasItsTabEntryGreyedAndChecked) {
  Start();
  EXPECT_FALSE(window->action(32770)->isEnabled());
  EXPECT_TRUE(window->action(32770)->isChecked());
  window->action(32773)->trigger();  // CPU
  EXPECT_EQ(window->currentPage(), 3);
  EXPECT_EQ(window->tabs()->currentIndex(), 3);
  EXPECT_FALSE(window->action(32773)->isEnabled());
  EXPECT_TRUE(window->action(32773)->isChecked());
  EXPECT_TRUE(window->action(32770)->isEnabled());
  EXPECT_FALSE(window->action(32770)->isChecked());
  // A click on a tab goes the same way.
  window->tabs()->tabBar()->setCurrentIndex(6);
  EXPECT_EQ(window->currentPage(), 6);
  EXPECT_FALSE(window->action(32776)->isEnabled());
  EXPECT_TRUE(window->action(32773)->isEnabled());
}

TEST_F(MainDialogTest, MenuEntriesCarryTheirCommandIds) {
  Start();
  const std::pair<int, const char*> entries[] = {
      {32770, "Mark (&M)"},     {32780, "Back (&B)"},    {32783, "Velora09.txt"},
      {32791, "Probix.txt"},    {32782, "Orvanto"},      {32790, "Velora09.ini"},
      {32786, "Japanese (&J)"}, {32787, "English (&E)"}, {32778, "DLL (&L)"}};
  for (auto [id, caption] : entries) {
    ASSERT_NE(window->action(id), nullptr) << id;
    EXPECT_EQ(window->action(id)->text().toStdString(), caption);
    EXPECT_EQ(window->action(id)->data().toInt(), id);
  }
  QMenu* help = window->menuBar()->actions()[3]->menu();
  ASSERT_EQ(help->actions().size(), 6);
  EXPECT_TRUE(help->actions()[2]->isSeparator());
  EXPECT_TRUE(help->actions()[4]->isSeparator());
  QMenu* edit = window->menuBar()->actions()[1]->menu();
  ASSERT_EQ(edit->actions().size(), 6);
  EXPECT_EQ(edit->actions()[0]->text().toStdString(), "[TEXT] Copy");
  EXPECT_EQ(edit->actions()[5]->text().toStdString(), "[HTML] Preview");
}

TEST_F(MainDialogTest, HelpOpensTheFilesAndTheSettingsFileInUse) {
  Start();
  window->action(32783)->trigger();
  window->action(32791)->trigger();
  window->action(32790)->trigger();
  window->action(32782)->trigger();
  window->action(kCmdEnglish)->trigger();
  window->action(32782)->trigger();
  ASSERT_EQ(opened.size(), 5u);
  EXPECT_EQ(std::filesystem::path(opened[0]).filename(), "Velora09.txt");
  EXPECT_EQ(std::filesystem::path(opened[1]).filename(), "Probix.txt");
  // The settings entry opens what the program reads, here bench.ini.
  EXPECT_EQ(opened[2], settings.path());
  EXPECT_EQ(opened[3].find("?lang=en"), std::string::npos);
  EXPECT_NE(opened[4].find("?lang=en"), std::string::npos);
}

TEST_F(MainDialogTest, PageRefreshHappensOnceAtTheNextPageChange) {
  Start();
  EXPECT_EQ(window->pageRefreshState(), 0);
  window->requestPageRefresh();
  EXPECT_EQ(window->pageRefreshState(), 1);
  window->selectPage(2);
  EXPECT_EQ(window->pageRefreshState(), 2);
  window->selectPage(3);
  EXPECT_EQ(window->pageRefreshState(), 2);
}

// How far right and down a page's controls reach: they follow a growing window when the
// page's lists, fields and groups grow with it.
QPoint Reach(QWidget* page) {
  QPoint reach;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QGroupBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QLabel*>(w) ||
                         qobject_cast<QAbstractButton*>(w) || w->inherits("velora::ScoreBar");
    if (!control || !w->isVisible()) continue;
    // What a scrolled page holds beyond its edges does not count.
    QPoint corner = w->mapTo(page, QPoint(w->width(), w->height()));
    corner = QPoint(std::min(corner.x(), page->width()), std::min(corner.y(), page->height()));
    reach = QPoint(std::max(reach.x(), corner.x()), std::max(reach.y(), corner.y()));
  }
  return reach;
}

TEST_F(MainDialogTest, OpensAtTheTemplateSizeAsItsLeastAndGrowsWithItsPages) {
  Start();
  window->show();
  QApplication::processEvents();
  QFontMetrics m(window->font());
  const QSize tabs = window->tabs()->size();
  // 371 x 337 dialog units: a quarter of the average character width, an eighth of its height.
  EXPECT_NEAR(tabs.width(), 371.0 * m.averageCharWidth() / 4, 371.0 / 4 * 2);
  EXPECT_EQ(tabs.height(), 337 * m.height() / 8);
  const QSize first = window->size();
  EXPECT_EQ(window->minimumSize(), first) << "the first size is the least";
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

  std::vector<QPoint> reach;
  for (int tab = 0; tab < kPageCount; ++tab) {
    window->selectPage(tab);
    QApplication::processEvents();
    reach.push_back(Reach(window->page(tab)));
  }
  const QSize grown = first + QSize(400, 300);
  window->resize(grown);
  QApplication::processEvents();
  EXPECT_EQ(window->size(), grown);
  for (int tab = 0; tab < kPageCount; ++tab) {
    window->selectPage(tab);
    QApplication::processEvents();
    Page* page = window->page(tab);
    EXPECT_GE(page->width(), tabs.width() + 390) << "page " << tab;
    EXPECT_GE(page->height(), tabs.height() + 250) << "page " << tab;
    const QPoint before = reach[static_cast<size_t>(tab)];
    // Every page but the empty one reaches the new right edge; the pages with lists reach
    // further down as well.
    if (tab != 10) {
      EXPECT_GE(Reach(page).x(), before.x() + 380) << "page " << tab;
    }
    if (tab <= 1 || tab == 3 || (tab >= 5 && tab <= 7)) {
      EXPECT_GE(Reach(page).y(), before.y() + 250) << "page " << tab;
    }
  }

  // At a scale factor the window takes that many screen pixels for each of its own.
  const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
  window->resize(first);
  QApplication::processEvents();
  const QPixmap shot = window->grab();
  EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), scale);
  EXPECT_EQ(shot.width(), qRound(first.width() * scale));
}

TEST_F(MainDialogTest, OneColourSkinShowsOnEveryPageAndColoursItsTexts) {
  QImage picture(8, 8, QImage::Format_RGB32);
  const QRgb colour = qRgb(23, 161, 97);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("skin.png")), "PNG"));
  settings.WriteSetting("BackgroundImage", dir.file("skin.png"));
  settings.WriteSetting("TextColor", std::to_string(0x2020C0));
  Start();
  ASSERT_TRUE(window->skin().on());
  window->show();
  for (int tab = 0; tab < kPageCount; ++tab) {
    window->selectPage(tab);
    QApplication::processEvents();
    QWidget* page = window->page(tab);
    const QImage shown = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    qint64 skinned = 0;
    for (int y = 0; y < shown.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
      for (int x = 0; x < shown.width(); ++x) skinned += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    // Lists and fields keep their own colours; around them the page is the skin's.
    EXPECT_GT(skinned * 20, qint64{shown.width()} * shown.height()) << "page " << tab;
    for (QLabel* label : page->findChildren<QLabel*>()) {
      EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText), QColor(0xC0, 0x20, 0x20))
          << "page " << tab << " " << label->text().toStdString();
    }
  }
}

// Qt's own texts (its dialogs' buttons) follow the interface language.
TEST_F(MainDialogTest, QtsOwnTextsFollowTheLanguage) {
  Start();
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  window->setLanguage(kEnglish);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  window->setLanguage(kJapanese);
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST_F(MainDialogTest, ExitEscapeAndCloseBoxCloseButEnterDoesNot) {
  Start();
  window->show();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_TRUE(window->isVisible());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &escape);
  EXPECT_FALSE(window->isVisible());
  window->show();
  window->action(kCmdExit)->trigger();
  EXPECT_FALSE(window->isVisible());
  window->show();
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
}

// Pictures of the window in both languages, for a person to look at.
TEST_F(MainDialogTest, GrabsTheWindowInBothLanguages) {
  Start();
  window->show();
  QApplication::processEvents();
  std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
  std::filesystem::create_directories(folder);
  QImage japanese = window->grab().toImage();
  window->setLanguage(kEnglish);
  QApplication::processEvents();
  QImage english = window->grab().toImage();
  ASSERT_FALSE(japanese.isNull());
  EXPECT_EQ(japanese.size(), window->size());
  EXPECT_NE(japanese, english) << "the menu bar's captions differ";
  EXPECT_TRUE(japanese.save(QString::fromStdString(folder + "/main-window-jp.png")));
  EXPECT_TRUE(english.save(QString::fromStdString(folder + "/main-window-en.png")));
}

}  // namespace
}  // namespace velora
