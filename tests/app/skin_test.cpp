// The skin: the three loaders in their order, the colouring of a page, the reload, and the
// translucent window.

#include "app/skin/skin.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <sys/stat.h>

#include "app/skin/qt_picture_loaders.h"
#include "app/skin/translucency.h"
#include "core/png_loader.h"
#include "core/skin_settings.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/png_writer.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::PngPicture;
using testing::TempFolder;

// Top row red, green; bottom row blue, white.
QImage FourColours() {
  QImage image(2, 2, QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(255, 0, 0));
  image.setPixel(1, 0, qRgb(0, 255, 0));
  image.setPixel(0, 1, qRgb(0, 0, 255));
  image.setPixel(1, 1, qRgb(255, 255, 255));
  return image;
}

PngPicture PaletteWithTransparency() {
  PngPicture p;
  p.width = 2;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_PALETTE;
  p.palette = {{10, 20, 30}, {200, 150, 100}};
  p.transparency = {255, 0};
  p.rows = {{0, 1}};
  return p;
}

class SkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  std::string SaveQt(const std::string& name, const char* format) {
    const std::string path = dir.file(name);
    EXPECT_TRUE(FourColours().save(QString::fromStdString(path), format));
    return path;
  }
  TempFolder dir;
  Skin skin;
  DibImage image;
  std::string error;
};

TEST_F(SkinTest, BmpLoaderTakesBmpOnlyAndKeepsItsPixels) {
  ASSERT_TRUE(loadBmp(image, SaveQt("four.bmp", "BMP"), error)) << error;
  EXPECT_EQ(image.bitsPerPixel(), 24);
  // Stored bottom row first, blue-green-red: blue then white.
  EXPECT_EQ(std::vector<uint8_t>(image.bits(), image.bits() + 6),
            (std::vector<uint8_t>{255, 0, 0, 255, 255, 255}));
  const QImage back = ImageOfDib(image);
  EXPECT_EQ(back.pixel(1, 0), qRgb(0, 255, 0));
  EXPECT_EQ(back.pixel(0, 1), qRgb(0, 0, 255));
  EXPECT_FALSE(loadBmp(image, SaveQt("four.png", "PNG"), error)) << "a PNG named anything";
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(image.empty());
}

TEST_F(SkinTest, PictureLoaderReadsJpegWhateverItsName) {
  const std::string jpeg = SaveQt("photo.bmp", "JPEG");  // a JPEG named .bmp
  EXPECT_FALSE(loadBmp(image, jpeg, error));
  ASSERT_TRUE(loadPicture(image, jpeg, error)) << error;
  EXPECT_EQ(image.width(), 2);
  EXPECT_EQ(image.height(), 2);
  ASSERT_EQ(skin.load(1, jpeg), 1);
  EXPECT_TRUE(skin.on());
}

TEST_F(SkinTest, PalettePngWithTransparencyFallsThroughToThePictureLoader) {
  const std::string path = dir.file("trns.png");
  ASSERT_TRUE(testing::WritePng(path, PaletteWithTransparency()));
  EXPECT_FALSE(loadPng(image, path, error));
  ASSERT_EQ(skin.load(1, path), 1) << skin.lastError();
  EXPECT_EQ(skin.image().width(), 2);
  // The picture loader keeps the palette's colours; the transparency is dropped.
  const QImage shown = ImageOfDib(skin.image());
  EXPECT_EQ(shown.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(1, 0), qRgb(200, 150, 100));
}

TEST_F(SkinTest, RefusedPicturesLeaveTheSkinOffWithEveryLoadersReason) {
  EXPECT_EQ(skin.load(1, dir.file("missing.png")), 0);
  EXPECT_FALSE(skin.on());
  EXPECT_EQ(skin.background().style(), Qt::NoBrush);
  EXPECT_NE(skin.lastError().find("BMP: "), std::string::npos) << skin.lastError();
  EXPECT_NE(skin.lastError().find("PNG: can't open"), std::string::npos) << skin.lastError();
  EXPECT_NE(skin.lastError().find("picture: "), std::string::npos) << skin.lastError();

  // Qt's own reader has the same ceiling: nothing reads the 1.2 GB picture.
  testing::WriteText(dir.file("huge.png"), testing::PngHeaderOnly(20000, 20000));
  EXPECT_EQ(skin.load(1, dir.file("huge.png")), 0);
  EXPECT_NE(skin.lastError().find("PNG: declares more pixels than its file can hold"),
            std::string::npos)
      << skin.lastError();
  EXPECT_TRUE(skin.image().empty());

  // A FIFO is looked at, not waited on; a chunk longer than the file is believed by none.
  ASSERT_EQ(mkfifo(dir.file("fifo.png").c_str(), 0600), 0);
  EXPECT_EQ(skin.load(1, dir.file("fifo.png")), 0);
  EXPECT_NE(skin.lastError().find("picture: can't open: is not a regular file"), std::string::npos)
      << skin.lastError();
  testing::WriteText(dir.file("chunk.png"), testing::PngWithLongChunk("zTXt", 0x7FFFFFF0));
  EXPECT_EQ(skin.load(1, dir.file("chunk.png")), 0);
  EXPECT_NE(skin.lastError().find("PNG: libpng: zTXt: chunk data is too large"), std::string::npos)
      << skin.lastError();
  EXPECT_NE(skin.lastError().find("picture: a chunk runs past the end of the file"),
            std::string::npos)
      << skin.lastError();

  EXPECT_EQ(skin.load(1, ""), 0);
  EXPECT_TRUE(skin.lastError().empty()) << "an empty path is no refusal";
}

TEST_F(SkinTest, ReloadingReleasesTheOldPicture) {
  ASSERT_EQ(skin.load(1, SaveQt("four.bmp", "BMP")), 1);
  EXPECT_FALSE(skin.image().empty());
  EXPECT_EQ(skin.load(1, dir.file("nothing.bmp")), 0);
  EXPECT_TRUE(skin.image().empty());
  EXPECT_FALSE(skin.on());
  ASSERT_EQ(skin.load(1, SaveQt("again.bmp", "BMP")), 1);
  EXPECT_EQ(skin.load(0, SaveQt("again.bmp", "BMP")), 0) << "mode 0 only turns it off";
  EXPECT_TRUE(skin.image().empty());
}

TEST_F(SkinTest, DressedPageTilesThePictureBehindItsStaticTexts) {
  QWidget page;
  page.resize(40, 40);
  auto* layout = new QVBoxLayout(&page);
  layout->setContentsMargins(10, 10, 10, 10);
  auto* label = new QLabel(QStringLiteral("x"), &page);
  auto* greyed = new QLabel(QStringLiteral("y"), &page);
  greyed->setEnabled(false);
  auto* field = new QLineEdit(&page);
  layout->addWidget(label);
  layout->addWidget(greyed);
  layout->addWidget(field);
  const QColor systemText = QApplication::palette().color(QPalette::Active, QPalette::WindowText);
  const QColor fieldText = field->palette().color(QPalette::Active, QPalette::Text);

  ASSERT_EQ(skin.load(1, SaveQt("four.bmp", "BMP")), 1);
  skin.setTextColor(0x0000FF);  // red
  skin.dress(&page);
  EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_NE(greyed->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text), fieldText);

  const QImage shown = page.grab().toImage();
  // The 2 x 2 picture repeats from the page's corner.
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(3, 0), qRgb(0, 255, 0));
  EXPECT_EQ(shown.pixel(2, 3), qRgb(0, 0, 255));
  // The label draws no background of its own: its corner shows the picture.
  const QPoint corner = label->geometry().topLeft();
  EXPECT_EQ(shown.pixel(corner), FourColours().pixel(corner.x() % 2, corner.y() % 2));

  // Off again: no picture, the system's text colour, nothing left behind.
  skin.setTextColor(std::nullopt);
  skin.load(0, "");
  skin.dress(&page);
  EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText), systemText);
  const QImage plain = page.grab().toImage();
  EXPECT_EQ(plain.pixel(0, 0), plain.pixel(1, 0)) << "no picture behind the page";
  EXPECT_EQ(QColor(plain.pixel(0, 0)), page.palette().color(QPalette::Window));
}

TEST_F(SkinTest, TextColourWithoutPictureColoursTheTextsOnly) {
  QWidget page;
  auto* box = new QGroupBox(QStringLiteral("Box"), &page);
  skin.setTextColor(0x00FF00);  // green
  skin.dress(&page);
  EXPECT_EQ(page.palette().brush(QPalette::Window).style(), Qt::SolidPattern);
  EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 255, 0));
  EXPECT_EQ(skin.textColorValue(), 0x00FF00u);
}

TEST_F(SkinTest, OnlyAnAlphaBetweenTheEndsMakesTheWindowTranslucent) {
  QWidget window;
  EXPECT_FALSE(applyTransparency(&window, 0));
  EXPECT_FALSE(applyTransparency(&window, 255));
  EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
  EXPECT_TRUE(applyTransparency(&window, 128));
  EXPECT_NEAR(window.windowOpacity(), 128 / 255.0, 1.0 / 255);
  EXPECT_FALSE(applyTransparency(nullptr, 128));
}

}  // namespace
}  // namespace velora
