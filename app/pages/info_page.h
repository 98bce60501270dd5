#pragma once
// The Info page: a credit, the version and date of the program, the probe library and the
// engine, and the skin's customisation box with its four buttons.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/pages/page.h"
#include "info/info_page_data.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace velora {

class Skin;

class InfoPage : public Page {
  Q_OBJECT

 public:
  explicit InfoPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const InfoPageData& data() const { return data_; }
  QLabel* credit() const { return credit_; }
  // "Select", "Clear", "Color", "Orvanto".
  QPushButton* button(const char* caption) const;
  QLineEdit* versionField(size_t row, int column) const;

  // The four buttons' actions.
  void selectImage();
  void clearSkin();
  void chooseTextColor();
  void openMakerSite();

  // The dialogs and the browser; a test answers them itself.
  std::function<std::optional<std::string>()> askImagePath;
  std::function<std::optional<uint32_t>(uint32_t current)> askColor;
  std::function<void(const std::string& address)> openAddress;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showCustomisation();
  void repaintWindow();

  Skin* skin_ = nullptr;
  const Settings* settings_ = nullptr;
  InfoPageData data_;
  QLabel* credit_ = nullptr;
  std::vector<std::array<QLineEdit*, 2>> versionFields_;
  QLineEdit* path_ = nullptr;
  QLineEdit* imageSize_ = nullptr;
  QLineEdit* windowSize_ = nullptr;
  QLineEdit* textColor_ = nullptr;
  std::vector<QPushButton*> buttons_;
};

}  // namespace velora
