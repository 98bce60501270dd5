#include "app/pages/device_page.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTableWidget>
#include <cmath>

#include "core/main_window_model.h"
#include "core/ui_language.h"
#include "session/machine_pages.h"

namespace velora {

DevicePage::DevicePage(QWidget* parent) : InventoryPage(5, parent) {
  connect(view(), &PageViewWidget::rowClicked, this, [this](int, int row) { showAdapter(row); });
}

void DevicePage::initialise(const PageContext& context) {
  const GraphicsApiVersions graphics = ReadGraphics(*context.machine);
  data_ = ReadDevicePage(context.probe, *context.machine, graphics);
  recorded_ = ShowsRecording(context);
  if (recorded_) {
    redraw();
  } else {
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &DevicePage::follow);
    follow(QGuiApplication::primaryScreen());
  }
  sizeAdapterColumns();
  if (QTableWidget* table = view()->table(0); table != nullptr && table->rowCount() > 0) {
    table->selectRow(0);
  }
}

void DevicePage::follow(QScreen* screen) {
  if (followed_ != nullptr) disconnect(followed_, nullptr, this, nullptr);
  followed_ = screen;
  if (screen != nullptr) {
    connect(screen, &QScreen::geometryChanged, this, &DevicePage::refreshDisplayMode);
    connect(screen, &QScreen::refreshRateChanged, this, &DevicePage::refreshDisplayMode);
    connect(screen, &QObject::destroyed, this, [this] { followed_ = nullptr; });
  }
  refreshDisplayMode();
}

void DevicePage::refreshDisplayMode() {
  if (recorded_) return;
  // Under X the server says how pixels are stored and what the rate is; elsewhere (Wayland)
  // the compositor's mode as Qt reports it.
  std::optional<X11DisplayMode> x11;
  if (QGuiApplication::platformName() == QLatin1String("xcb")) x11 = ReadX11DisplayMode();
  if (x11) {
    data_.displayMode =
        DisplayModeText(x11->width, x11->height, x11->bitsPerPixel, x11->refreshRate);
  } else if (followed_ != nullptr) {
    const qreal ratio = followed_->devicePixelRatio();
    const QSize size = followed_->geometry().size();
    data_.displayMode =
        DisplayModeText(static_cast<int>(std::lround(size.width() * ratio)),
                        static_cast<int>(std::lround(size.height() * ratio)), followed_->depth(),
                        static_cast<int>(std::lround(followed_->refreshRate())));
  }
  redraw();
}

void DevicePage::applyInventory(const InventoryFields& fields) {
  ApplyInventoryToDevicePage(data_, fields);
}

void DevicePage::showAdapter(int row) {
  if (!ShowAdapterRow(data_, row)) return;
  redraw();
  if (QTableWidget* table = view()->table(0)) table->selectRow(row);
}

void DevicePage::sizeAdapterColumns() {
  // Type and name share the width; the addresses stand in the details only.
  std::vector<int> shares(kAdapterColumns.size(), 0);
  shares[0] = 4;
  shares[1] = 26;
  std::vector<Qt::Alignment> alignments(kAdapterColumns.size(), Qt::AlignHCenter);
  alignments[1] = Qt::AlignLeft;
  view()->setColumnLayout(0, std::move(shares), std::move(alignments));
}

PageView DevicePage::currentView() const {
  if (!recorded_) return DevicePageView(data_, UiLanguage.load());
  DevicePageData shown = data_;
  const std::string missing = CaptionFor(kNotRecordedCaption, UiLanguage.load());
  for (std::string* field : {&shown.displayMode, &shown.fontSmoothing, &shown.openGlVersion,
                             &shown.openGlRenderer, &shown.vulkanVersion}) {
    *field = missing;
  }
  return DevicePageView(shown, UiLanguage.load());
}

}  // namespace velora
