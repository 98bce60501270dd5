#include "app/pages/info_page.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "app/open_in_folder.h"
#include "app/skin/skin.h"
#include "core/main_window_model.h"
#include "core/skin_settings.h"
#include "core/ui_language.h"

namespace velora {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kButtons[] = {"Select", "Clear", "Color", "Orvanto"};
constexpr int kCreditPointSize = 20;

QLineEdit* ReadOnlyField(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::ClickFocus);
  return edit;
}

}  // namespace

InfoPage::InfoPage(QWidget* parent) : Page(9, parent) {
  askImagePath = [this]() -> std::optional<std::string> {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      Q(FileDialogFilter(kImageFileFilter)));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  };
  askColor = [this](uint32_t current) -> std::optional<uint32_t> {
    const RgbColor c = ColorOfValue(current);
    const QColor chosen = QColorDialog::getColor(QColor(c.red, c.green, c.blue), this);
    if (!chosen.isValid()) return std::nullopt;
    return ValueOfColor({chosen.red(), chosen.green(), chosen.blue()});
  };
  openAddress = [](const std::string& address) { OpenAddress(address); };
}

void InfoPage::initialise(const PageContext& context) {
  skin_ = context.skin;
  settings_ = context.settings;
  const EngineInfo engine = context.engine != nullptr ? context.engine->Info() : EngineInfo{};
  data_.versions = ComponentVersions(context.probe, engine.version, engine.date);
  if (settings_ != nullptr) data_.imagePath = settings_->ReadSetting("BackgroundImage");

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);

  credit_ = new QLabel(Q(CreditText()), this);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(kCreditPointSize);
  credit_->setFont(font);
  credit_->setAlignment(Qt::AlignCenter);
  credit_->setWordWrap(true);
  layout->addWidget(credit_);

  auto* versions = new QGroupBox(QStringLiteral("Version"), this);
  auto* grid = new QGridLayout(versions);
  for (size_t r = 0; r < data_.versions.size(); ++r) {
    const ComponentVersion& row = data_.versions[r];
    const int y = static_cast<int>(r);
    grid->addWidget(new QLabel(Q(row.component), versions), y, 0);
    QLineEdit* version = ReadOnlyField(versions);
    QLineEdit* date = ReadOnlyField(versions);
    version->setText(Q(row.version));
    date->setText(Q(row.date));
    grid->addWidget(version, y, 1);
    grid->addWidget(date, y, 2);
    versionFields_.push_back({version, date});
  }
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 1);
  layout->addWidget(versions);

  auto* custom = new QGroupBox(Q(kCustomizeTitle), this);
  auto* box = new QGridLayout(custom);
  path_ = ReadOnlyField(custom);
  imageSize_ = ReadOnlyField(custom);
  windowSize_ = ReadOnlyField(custom);
  textColor_ = ReadOnlyField(custom);
  box->addWidget(path_, 0, 0, 1, 4);
  box->addWidget(new QLabel(QStringLiteral("Image Size"), custom), 1, 0);
  box->addWidget(imageSize_, 1, 1);
  box->addWidget(new QLabel(QStringLiteral("Window Size"), custom), 1, 2);
  box->addWidget(windowSize_, 1, 3);
  box->addWidget(new QLabel(QStringLiteral("Text Color"), custom), 2, 0);
  box->addWidget(textColor_, 2, 1);
  auto* row = new QHBoxLayout;
  for (const char* caption : kButtons) {
    auto* b = new QPushButton(QString::fromUtf8(caption), custom);
    b->setAutoDefault(false);
    row->addWidget(b);
    buttons_.push_back(b);
  }
  box->addLayout(row, 3, 0, 1, 4);
  layout->addWidget(custom);
  layout->addStretch(1);

  connect(buttons_[0], &QPushButton::clicked, this, &InfoPage::selectImage);
  connect(buttons_[1], &QPushButton::clicked, this, &InfoPage::clearSkin);
  connect(buttons_[2], &QPushButton::clicked, this, &InfoPage::chooseTextColor);
  connect(buttons_[3], &QPushButton::clicked, this, &InfoPage::openMakerSite);
  if (skin_ != nullptr) connect(skin_, &Skin::changed, this, &InfoPage::showCustomisation);
  showCustomisation();
}

QPushButton* InfoPage::button(const char* caption) const {
  for (QPushButton* b : buttons_) {
    if (b->text() == QString::fromUtf8(caption)) return b;
  }
  return nullptr;
}

QLineEdit* InfoPage::versionField(size_t row, int column) const {
  if (row >= versionFields_.size() || column < 0 || column > 1) return nullptr;
  return versionFields_[row][static_cast<size_t>(column)];
}

void InfoPage::showCustomisation() {
  if (skin_ != nullptr) {
    const DibImage& image = skin_->image();
    data_.imageSize = skin_->on() ? SizeText(image.width(), image.height()) : std::string();
    data_.textColor = TextColorText(skin_->textColorValue());
  }
  data_.windowSize = SizeText(width(), height());
  if (path_ == nullptr) return;
  path_->setText(Q(data_.imagePath));
  imageSize_->setText(Q(data_.imageSize));
  windowSize_->setText(Q(data_.windowSize));
  textColor_->setText(Q(data_.textColor));
}

void InfoPage::resizeEvent(QResizeEvent* event) {
  Page::resizeEvent(event);
  showCustomisation();
}

void InfoPage::repaintWindow() {
  if (QWidget* w = window()) w->update();
}

void InfoPage::selectImage() {
  const std::optional<std::string> path = askImagePath();
  if (!path) return;
  data_.imagePath = *path;
  if (settings_ != nullptr) settings_->WriteSetting("BackgroundImage", *path);
  if (skin_ != nullptr) skin_->load(1, *path);
  showCustomisation();
  repaintWindow();
}

void InfoPage::clearSkin() {
  if (settings_ != nullptr) {
    settings_->WriteSetting("BackgroundImage", "");
    settings_->WriteSetting("TextColor", "");
  }
  data_.imagePath.clear();
  if (skin_ != nullptr) {
    skin_->setTextColor(std::nullopt);
    skin_->load(0, "");
  }
  showCustomisation();
  repaintWindow();
}

void InfoPage::chooseTextColor() {
  if (skin_ == nullptr) return;
  const std::optional<uint32_t> chosen = askColor(skin_->textColorValue());
  if (!chosen) return;
  skin_->setTextColor(*chosen);
  if (settings_ != nullptr) {
    // "%d" of the colour value.
    settings_->WriteSetting("TextColor", std::to_string(static_cast<int32_t>(*chosen)));
  }
  showCustomisation();
  repaintWindow();
}

void InfoPage::openMakerSite() { openAddress(MakerSiteAddress(UiLanguage)); }

}  // namespace velora
