// The Info page in the window: its versions, its four buttons and what they leave in the
// settings, and the skin on the other pages.

#include "app/pages/info_page.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/main_dialog.h"
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

// A soft diagonal pattern, the kind of picture a user would tile behind the pages.
QImage Tile() {
  QImage image(48, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const int d = (x + y) % 48;
      image.setPixel(x, y, qRgb(200 + d / 2, 225 - d / 3, 240 - d / 4));
    }
  }
  return image;
}

class InfoPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void SetUp() override { UiLanguage = kEnglish; }
  void Open() {
    window = std::make_unique<MainDialog>(context);
    window->showMessage = [](const std::string&, const std::string&) {};
    ASSERT_TRUE(window->initialise());
    info = dynamic_cast<InfoPage*>(window->page(9));
    ASSERT_NE(info, nullptr);
    info->openAddress = [this](const std::string& a) { opened.push_back(a); };
  }
  std::string SaveTile() {
    const std::string path = dir.file("tile.png");
    EXPECT_TRUE(Tile().save(QString::fromStdString(path), "PNG"));
    return path;
  }
  // The top-left pixel of a page as drawn.
  QRgb PixelOfPage(int tab) const {
    return window->page(tab)->grab(QRect(0, 0, 1, 1)).toImage().pixel(0, 0);
  }
  std::string Field(QLineEdit* edit) const { return edit->text().toStdString(); }

  testing::TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  MainWindowContext context{binding, settings, log, [] { return uint32_t{kNoWmi}; }, "bench"};
  std::unique_ptr<MainDialog> window;
  InfoPage* info = nullptr;
  std::vector<std::string> opened;
};

TEST_F(InfoPageTest, ShowsTheVersionsOfTheProgramAndBothLibraries) {
  Open();
  EXPECT_NE(info->font().pointSize(), 20) << "only the credit is large";
  EXPECT_EQ(info->credit()->font().pointSize(), 20);
  EXPECT_EQ(Field(info->versionField(0, 0)), "0.9.115");
  EXPECT_EQ(Field(info->versionField(1, 0)), "Release 275");
  EXPECT_EQ(Field(info->versionField(1, 1)), "2005/10/10");
  EXPECT_EQ(Field(info->versionField(2, 0)), "0.9.115");
  EXPECT_FALSE(Field(info->versionField(2, 1)).empty()) << "the engine's date";
  EXPECT_EQ(info->data().textColor.rfind("RGB( ", 0), 0u);
}

TEST_F(InfoPageTest, SelectColourClearAndARestart) {
  Open();
  const std::string tile = SaveTile();
  info->askImagePath = [&] { return std::optional<std::string>(tile); };
  info->button("Select")->click();
  EXPECT_EQ(settings.ReadSetting("BackgroundImage"), tile);
  EXPECT_TRUE(window->skin().on());
  EXPECT_EQ(info->data().imageSize, "48 x 48");
  EXPECT_EQ(PixelOfPage(0), Tile().pixel(0, 0)) << "the Mark page wears the skin";

  info->askColor = [](uint32_t) { return std::optional<uint32_t>(0x0000C0); };
  info->button("Color")->click();
  EXPECT_EQ(settings.ReadSetting("TextColor"), "192");
  EXPECT_EQ(info->data().textColor, "RGB( 192, 0, 0 )");
  EXPECT_EQ(info->credit()->palette().color(QPalette::Active, QPalette::WindowText),
            QColor(192, 0, 0));

  // The next start finds both.
  Open();
  EXPECT_TRUE(window->skin().on());
  EXPECT_EQ(info->data().imagePath, tile);
  EXPECT_EQ(info->data().textColor, "RGB( 192, 0, 0 )");

  info->button("Clear")->click();
  EXPECT_EQ(settings.ReadSetting("BackgroundImage"), "");
  EXPECT_EQ(settings.ReadSetting("TextColor"), "");
  EXPECT_FALSE(window->skin().on());
  EXPECT_EQ(info->data().imagePath, "");
  EXPECT_EQ(info->data().imageSize, "");

  // A restart after "Clear": no skin, the system's text colour.
  Open();
  EXPECT_FALSE(window->skin().on());
  EXPECT_FALSE(window->skin().storedTextColor().has_value());
  EXPECT_NE(PixelOfPage(0), Tile().pixel(0, 0));
}

TEST_F(InfoPageTest, WindowCarriesTheProgramIcon) {
  Open();
  const QList<QSize> sizes = window->windowIcon().availableSizes();
  for (int size : {48, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  const QImage large = window->windowIcon().pixmap(QSize(256, 256)).toImage();
  // The tile's blue at the centre of its top edge.
  const QColor top = large.pixelColor(128, 20);
  EXPECT_GT(top.blue(), top.red());
}

TEST_F(InfoPageTest, CancelledDialogsChangeNothing) {
  Open();
  info->askImagePath = [] { return std::optional<std::string>(); };
  info->askColor = [](uint32_t) { return std::optional<uint32_t>(); };
  info->button("Select")->click();
  info->button("Color")->click();
  EXPECT_EQ(settings.ReadSetting("BackgroundImage"), "");
  EXPECT_EQ(settings.ReadSetting("TextColor"), "");
}

TEST_F(InfoPageTest, AnUnreadablePictureStaysInTheSettingsWithoutAMessage) {
  settings.WriteSetting("BackgroundImage", dir.file("gone.png"));
  std::vector<std::string> messages;
  window = std::make_unique<MainDialog>(context);
  window->showMessage = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  ASSERT_TRUE(window->initialise());
  EXPECT_FALSE(window->skin().on());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(settings.ReadSetting("BackgroundImage"), dir.file("gone.png"));
}

TEST_F(InfoPageTest, OrvantoOpensTheSiteInTheInterfaceLanguage) {
  Open();
  window->setLanguage(kEnglish);
  info->button("Orvanto")->click();
  window->setLanguage(kJapanese);
  info->button("Orvanto")->click();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], MakerSiteAddress(kEnglish));
  EXPECT_EQ(opened[1], MakerSiteAddress(kJapanese));
  EXPECT_NE(opened[0], opened[1]);
}

TEST_F(InfoPageTest, AlphaZeroAndFullLeaveTheWindowOpaque) {
  settings.WriteSetting("EnableAlpha", "1");
  for (const char* alpha : {"0", "255"}) {
    settings.WriteSetting("Alpha", alpha);
    Open();
    EXPECT_FALSE(window->translucent()) << alpha;
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0) << alpha;
  }
  settings.WriteSetting("Alpha", "200");
  Open();
  EXPECT_TRUE(window->translucent());
  EXPECT_NEAR(window->windowOpacity(), 200 / 255.0, 1.0 / 255);
}

// Pictures of the Info page and of the skinned Mark page in both languages, for a person to
// look at.
TEST_F(InfoPageTest, GrabsTheInfoPageAndASkinnedMarkPage) {
  settings.WriteSetting("BackgroundImage", SaveTile());
  settings.WriteSetting("TextColor", std::to_string(0x00602000));  // dark blue
  Open();
  window->show();
  const std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
  std::filesystem::create_directories(folder);
  for (int tab : {9, 0}) {
    window->selectPage(tab);
    for (int language : {kJapanese, kEnglish}) {
      window->setLanguage(language);
      QApplication::processEvents();
      const QImage image = window->grab().toImage();
      ASSERT_FALSE(image.isNull());
      const std::string name = std::string(tab == 9 ? "info-page" : "skinned-mark-page") +
                               (language == kEnglish ? "-en.png" : "-jp.png");
      EXPECT_TRUE(image.save(QString::fromStdString(folder + "/" + name)));
    }
  }
  EXPECT_EQ(info->data().windowSize,
            std::to_string(info->width()) + " x " + std::to_string(info->height()));
}

}  // namespace
}  // namespace velora
