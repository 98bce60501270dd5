#pragma once
// The Ranking page: the registration form with its choice lists, the last run's scores, and the
// buttons that post the registration and open the Result dialog. The form's rules, the body and
// the post are ranking/'s; the page shows the form and hands its contents over.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/pages/page.h"
#include "ranking/clock_figures.h"
#include "ranking/machine_facts.h"
#include "ranking/pages_inventory.h"
#include "ranking/ranking_form.h"
#include "ranking/ranking_post.h"
#include "ranking/result_summary.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velora {

class ResultDialog;

// What the page takes from outside the pages; tests put their own in.
struct RankingPageEnvironment {
  RankingPageEnvironment();

  std::string dataFolder;  // holds data/; the program folder by default
  // The Device and Disk pages and the collector's findings; nothing of them when null.
  const RankingInventorySource* inventory = nullptr;
  std::string kernelRelease;
  PostLimits limits;
  std::function<void(const std::string& address)> openAddress;
  std::function<void(const std::string& text)> showMessage;
  std::function<bool(const std::string& text)> askYesNo;
  std::function<void(const std::string& text)> putOnClipboard;
  // The main window's title; the window the page sits in by default.
  std::function<std::string()> title;
  // Shows the Result dialog modally.
  std::function<void(ResultDialog& dialog)> runDialog;
};

constexpr const char* kIsoCountryCodesAddress = "https://www.iso.org/iso-3166-country-codes.html";
constexpr const char* kRankingServerKey = "RankingServer";

class RankingPage : public Page {
  Q_OBJECT

 public:
  explicit RankingPage(RankingPageEnvironment environment = {}, QWidget* parent = nullptr);
  // Writes the remembered fields back.
  ~RankingPage() override;

  void initialise(const PageContext& context) override;
  void refreshFromCollector() override;
  void refreshLanguage() override;

  // The form as the controls hold it.
  RankingForm form() const;
  // Sets every control from a form (tests, and the start-up's remembered fields).
  void setForm(const RankingForm& form);

  void refreshScores();
  void onEntry();
  void onFix();
  void onRaid();
  void onIsoCodes();
  void onResultDialog();
  void onClockEdited(ClockEdit field);
  std::unique_ptr<ResultDialog> makeResultDialog() const;

  bool entryEnabled() const;
  bool clocksReadOnly() const;
  QComboBox* combo(const char* name) const;
  QLineEdit* edit(const char* name) const;
  QTableWidget* scoreList() const { return scores_; }
  QLabel* diskLabel() const { return diskLabel_; }
  QLabel* controllerLabel() const { return controllerLabel_; }
  // The body the last "Entry" built; empty before.
  const std::string& lastBody() const { return lastBody_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // An editable combo and a disabled drop list at one place; RAID picks which is shown.
  struct PairedList {
    QComboBox* editable = nullptr;
    QComboBox* locked = nullptr;
    QString text() const;
    void show(bool editableShown);
  };

  void buildControls();
  void loadLists();
  // "Test" takes 65 % of the list's width, "Score" 35 %.
  void fitScoreColumns();
  QString settingsServer() const;

  RankingPageEnvironment environment_;
  const Settings* settings_ = nullptr;
  const PagesModel* pages_ = nullptr;
  BenchEngine* engine_ = nullptr;
  NoInventoryDetails noInventory_;
  std::unique_ptr<PagesInventory> pagesInventory_;
  const RankingInventorySource* inventory_ = nullptr;
  int raid_ = 0;
  bool clocksReadOnly_ = true;
  bool updatingClocks_ = false;
  std::string lastBody_;
  // A window showing a recording registers nothing.
  bool entryOff_ = false;

  QLineEdit *user_, *machine_, *password_, *web_, *mail_, *cpuName_;
  QComboBox *country_, *area_;
  std::array<QLineEdit*, 7> clocks_{};  // current, original x (clock, system, multiplier), over
  QLineEdit *mother_, *videoMemory_, *memorySize_, *diskSize_, *raidSize_;
  QComboBox *chipSet_, *video_, *memory_;
  PairedList disk_, controller_, raidType_;
  std::array<PairedList, kRaidMemberCount> members_;
  std::array<QLineEdit*, kRaidMemberCount> memberSizes_{};
  QCheckBox* raidBox_;
  QPlainTextEdit* comment_;
  QLabel *diskLabel_, *controllerLabel_;
  QTableWidget* scores_;
  QPushButton *entry_, *fix_, *iso_, *resultButton_;
};

}  // namespace velora
