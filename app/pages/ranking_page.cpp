#include "app/pages/ranking_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/open_in_folder.h"
#include "app/result_dialog.h"
#include "app/wide_combo.h"
#include "core/app_log.h"
#include "core/ui_language.h"
#include "info/os_identity.h"
#include "info/system_facts.h"
#include "platform/program_folder.h"
#include "ranking/choice_lists.h"
#include "ranking/ranking_reply.h"
#include "session/machine_pages.h"
#include "session/ranking_entry.h"

namespace velora {

namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }
std::string Std(const QString& text) { return text.toStdString(); }

// Sorted lists keep their entries in alphabetical order, without regard to case.
void AddSorted(QComboBox* combo, const QString& text) {
  int at = 0;
  while (at < combo->count() &&
         QString::compare(combo->itemText(at), text, Qt::CaseInsensitive) <= 0) {
    ++at;
  }
  combo->insertItem(at, text);
}

void FillSorted(QComboBox* combo, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) AddSorted(combo, Qs(entry));
}

QComboBox* MakeCombo(const char* name, bool editable) {
  auto* combo = new WideCombo;
  combo->setObjectName(QString::fromUtf8(name));
  combo->setEditable(editable);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(8);
  return combo;
}

QLineEdit* MakeEdit(const char* name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromUtf8(name));
  return edit;
}

// A drop list shows only its entries: the text becomes one when it is not there.
void ShowTextIn(QComboBox* combo, const QString& text) {
  if (combo->isEditable()) {
    combo->setEditText(text);
    return;
  }
  int at = combo->findText(text);
  if (at < 0 && !text.isEmpty()) {
    combo->addItem(text);
    at = combo->count() - 1;
  }
  combo->setCurrentIndex(at);
}

constexpr const char* kClockNames[7] = {
    "clock",      "clockOriginal",      "systemClock", "systemClockOriginal",
    "multiplier", "multiplierOriginal", "overClock"};

}  // namespace

RankingPageEnvironment::RankingPageEnvironment()
    : dataFolder(ProgramFolder()),
      kernelRelease(IdentifyOperatingSystem().build),
      openAddress([](const std::string& address) { OpenAddress(address); }),
      putOnClipboard(
          [](const std::string& text) { QApplication::clipboard()->setText(Qs(text)); }) {}

QString RankingPage::PairedList::text() const {
  return editable->isHidden() ? locked->currentText() : editable->currentText();
}

void RankingPage::PairedList::show(bool editableShown) {
  // The text moves from the control being hidden to the one being shown.
  if (editableShown) {
    editable->setEditText(locked->currentText());
  } else {
    ShowTextIn(locked, editable->currentText());
  }
  editable->setVisible(editableShown);
  locked->setVisible(!editableShown);
}

RankingPage::RankingPage(RankingPageEnvironment environment, QWidget* parent)
    : Page(1, parent), environment_(std::move(environment)) {
  if (!environment_.showMessage) {
    environment_.showMessage = [this](const std::string& text) {
      QMessageBox::information(this, window()->windowTitle(), Qs(text));
    };
  }
  if (!environment_.askYesNo) {
    environment_.askYesNo = [this](const std::string& text) {
      return QMessageBox::question(this, window()->windowTitle(), Qs(text)) == QMessageBox::Yes;
    };
  }
  if (!environment_.runDialog) environment_.runDialog = [](ResultDialog& dialog) { dialog.exec(); };
  if (!environment_.title) environment_.title = [this] { return Std(window()->windowTitle()); };
  inventory_ = environment_.inventory != nullptr ? environment_.inventory : &noInventory_;
  buildControls();
}

RankingPage::~RankingPage() {
  if (settings_ != nullptr) WriteRememberedFields(*settings_, form());
}

void RankingPage::buildControls() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  int row = 0;
  auto label = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };

  // Left: identity, processor and machine.
  auto* left = new QGridLayout;
  left->setVerticalSpacing(2);
  left->setHorizontalSpacing(6);
  user_ = MakeEdit("userName");
  machine_ = MakeEdit("machineName");
  password_ = MakeEdit("password");
  password_->setEchoMode(QLineEdit::Password);
  web_ = MakeEdit("web");
  mail_ = MakeEdit("mail");
  country_ = MakeCombo("country", false);
  area_ = MakeCombo("area", false);
  iso_ = new QPushButton("ISO 3166");
  iso_->setObjectName("isoButton");
  connect(iso_, &QPushButton::clicked, this, &RankingPage::onIsoCodes);
  auto addLeft = [&](const char* text, QWidget* widget, QWidget* extra = nullptr) {
    left->addWidget(label(text), row, 0);
    left->addWidget(widget, row, 1, 1, extra != nullptr ? 2 : 3);
    if (extra != nullptr) left->addWidget(extra, row, 3);
    ++row;
  };
  addLeft("Your Name (*)", user_);
  addLeft("Machine (*)", machine_);
  addLeft("Password (*)", password_);
  addLeft("Web", web_);
  addLeft("Mail", mail_);
  addLeft("Country Code (*)", country_, iso_);
  addLeft("Area", area_);

  cpuName_ = MakeEdit("cpuName");
  cpuName_->setReadOnly(true);
  fix_ = new QPushButton("Fix");
  fix_->setObjectName("fixButton");
  connect(fix_, &QPushButton::clicked, this, &RankingPage::onFix);
  addLeft("CPU Name (*)", cpuName_, fix_);
  for (size_t i = 0; i < clocks_.size(); ++i) {
    clocks_[i] = MakeEdit(kClockNames[i]);
    clocks_[i]->setReadOnly(true);
  }
  const char* clockLabels[] = {"Clock (MHz)", "System Clock (MHz)", "Multiplier"};
  for (size_t i = 0; i < 3; ++i) {
    left->addWidget(label(clockLabels[i]), row, 0);
    left->addWidget(clocks_[2 * i], row, 1);
    left->addWidget(clocks_[2 * i + 1], row, 2, 1, 2);
    ++row;
  }
  left->addWidget(label("Over Clock (%)"), row, 0);
  left->addWidget(clocks_[6], row++, 1);
  connect(clocks_[2], &QLineEdit::textEdited, this,
          [this] { onClockEdited(ClockEdit::kSystemClock); });
  connect(clocks_[4], &QLineEdit::textEdited, this,
          [this] { onClockEdited(ClockEdit::kMultiplier); });
  connect(clocks_[3], &QLineEdit::textEdited, this,
          [this] { onClockEdited(ClockEdit::kOriginal); });
  connect(clocks_[5], &QLineEdit::textEdited, this,
          [this] { onClockEdited(ClockEdit::kOriginal); });

  mother_ = MakeEdit("motherBoard");
  chipSet_ = MakeCombo("chipSet", true);
  video_ = MakeCombo("video", true);
  memory_ = MakeCombo("memory", true);
  videoMemory_ = MakeEdit("videoMemory");
  memorySize_ = MakeEdit("memorySize");
  for (QLineEdit* size : {videoMemory_, memorySize_}) size->setMaximumWidth(56);
  addLeft("Mother Board", mother_);
  addLeft("Chip Set (*)", chipSet_);
  left->addWidget(label("Video (*)"), row, 0);
  left->addWidget(video_, row, 1, 1, 2);
  left->addWidget(videoMemory_, row++, 3);
  left->addWidget(label("Memory (*)"), row, 0);
  left->addWidget(memory_, row, 1, 1, 2);
  left->addWidget(memorySize_, row++, 3);
  left->setColumnStretch(1, 1);
  left->setColumnStretch(2, 1);

  // Right: the disk, RAID and its member disks.
  auto* right = new QGridLayout;
  right->setVerticalSpacing(2);
  right->setHorizontalSpacing(6);
  row = 0;
  auto paired = [](const char* name) {
    PairedList pair;
    pair.editable = MakeCombo(name, true);
    pair.locked = MakeCombo((std::string(name) + "Locked").c_str(), false);
    pair.locked->setEnabled(false);
    return pair;
  };
  auto addPaired = [&](QWidget* caption, PairedList& pair, QLineEdit* size) {
    right->addWidget(caption, row, 0);
    right->addWidget(pair.editable, row, 1);
    right->addWidget(pair.locked, row, 1);
    if (size != nullptr) {
      size->setMaximumWidth(48);
      right->addWidget(size, row, 2);
    }
    ++row;
  };
  diskLabel_ = label("HDD (*)");
  disk_ = paired("disk");
  diskSize_ = MakeEdit("diskSize");
  addPaired(diskLabel_, disk_, diskSize_);
  raidBox_ = new QCheckBox("RAID");
  raidBox_->setObjectName("raid");
  connect(raidBox_, &QCheckBox::clicked, this, &RankingPage::onRaid);
  right->addWidget(raidBox_, row, 0, 1, 2);
  right->addWidget(label("(GB)"), row++, 2);
  controllerLabel_ = label("Controller");
  controller_ = paired("raidController");
  raidSize_ = MakeEdit("raidSize");
  addPaired(controllerLabel_, controller_, raidSize_);
  raidType_ = paired("raidType");
  addPaired(label("RAID Type"), raidType_, nullptr);
  for (int i = 0; i < kRaidMemberCount; ++i) {
    const std::string name = "raidDisk" + std::to_string(i + 1);
    members_[static_cast<size_t>(i)] = paired(name.c_str());
    memberSizes_[static_cast<size_t>(i)] = MakeEdit((name + "Size").c_str());
    addPaired(new QLabel(QString("Disk %1").arg(i + 1)), members_[static_cast<size_t>(i)],
              memberSizes_[static_cast<size_t>(i)]);
  }
  right->setColumnStretch(1, 1);

  // Below: the comment beside the scores and the two buttons.
  comment_ = new QPlainTextEdit;
  comment_->setObjectName("comment");
  scores_ = new QTableWidget(0, 2);
  scores_->setObjectName("scoreList");
  scores_->setHorizontalHeaderLabels({"Test", "Score"});
  QFont listFont("Arial");
  listFont.setPointSize(12);
  scores_->setFont(listFont);
  scores_->setSelectionBehavior(QAbstractItemView::SelectRows);
  scores_->setShowGrid(true);
  // The headings say which column is the score; they neither sort nor resize.
  scores_->horizontalHeader()->setSectionsClickable(false);
  scores_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  scores_->horizontalHeader()->setHighlightSections(false);
  scores_->verticalHeader()->hide();
  scores_->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);
  scores_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  scores_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  entry_ = new QPushButton("Entry");
  entry_->setObjectName("entryButton");
  entry_->setEnabled(false);
  connect(entry_, &QPushButton::clicked, this, &RankingPage::onEntry);
  resultButton_ = new QPushButton("Result Dialog");
  resultButton_->setObjectName("resultDialogButton");
  connect(resultButton_, &QPushButton::clicked, this, &RankingPage::onResultDialog);

  // The comment under the form, the scores and the two buttons under the disks.
  auto* commentBox = new QVBoxLayout;
  commentBox->addWidget(label("Comment (Max 1024 byte)"));
  commentBox->addWidget(comment_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(entry_);
  buttons->addWidget(resultButton_);
  right->addWidget(scores_, row++, 0, 1, 3);
  right->setRowStretch(row - 1, 1);
  right->addLayout(buttons, row++, 0, 1, 3);

  grid->addLayout(left, 0, 0);
  grid->addLayout(commentBox, 1, 0);
  grid->addLayout(right, 0, 1, 2, 1);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(1, 1);
  setLayout(grid);

  for (auto* pair : {&disk_, &controller_, &raidType_}) pair->show(pair == &disk_);
  for (PairedList& member : members_) member.show(false);
}

void RankingPage::initialise(const PageContext& context) {
  settings_ = context.settings;
  pages_ = context.pages;
  engine_ = context.engine;
  entryOff_ = ShowsRecording(context);
  // The body names the kernel of the machine shown.
  if (entryOff_) environment_.kernelRelease = ReadOs(*context.machine).build;
  // The Device and Disk pages were made before this one; the collector fills in later.
  if (environment_.inventory == nullptr && pages_ != nullptr) {
    pagesInventory_ = std::make_unique<PagesInventory>(*pages_);
    inventory_ = pagesInventory_.get();
  }

  diskLabel_->setText("HDD (*)");
  controllerLabel_->setText("Controller");

  const std::vector<std::string> disks = inventory_->ReadDiskModels();
  FillSorted(disk_.editable, disks);
  for (PairedList& member : members_) FillSorted(member.editable, disks);

  loadLists();

  for (const char* type : kRaidTypes) raidType_.editable->addItem(QString::fromUtf8(type));
  raidType_.editable->setCurrentIndex(-1);

  const CpuPageData cpu = pages_ != nullptr ? pages_->ReadCpuPage() : CpuPageData{};
  const MemoryStatus memory =
      context.machine != nullptr ? ReadMemory(*context.machine) : ReadMemoryStatus();
  setForm(SeedRankingForm(settings_, cpu, inventory_->ReadDeviceFacts(), memory.physicalTotal));
}

void RankingPage::loadLists() {
  const std::string folder = environment_.dataFolder + "/";
  country_->clear();
  for (const std::string& entry : LoadPlainList(folder + kCountryFile))
    country_->addItem(Qs(entry));
  area_->clear();
  if (UiLanguage.load() == kJapanese) {
    for (const std::string& entry : LoadPlainList(folder + kAreaFile)) area_->addItem(Qs(entry));
  }
  memory_->clear();
  FillSorted(memory_, LoadPlainList(folder + kMemoryFile));
  if (auto names = LoadPciColumn(folder + kChipsetPciFile, kChipsetPciField)) {
    FillSorted(chipSet_, *names);
  }
  if (auto names = LoadPciColumn(folder + kVideoPciFile, kVideoPciField))
    FillSorted(video_, *names);
  controller_.editable->clear();
  FillSorted(controller_.editable, LoadPlainList(folder + kRaidFile));
  for (QComboBox* list : {country_, area_}) list->setCurrentIndex(-1);
  for (QComboBox* list : {memory_, chipSet_, video_, controller_.editable}) list->setEditText("");
}

RankingForm RankingPage::form() const {
  RankingForm f;
  f.userName = Std(user_->text());
  f.machineName = Std(machine_->text());
  f.password = Std(password_->text());
  f.web = Std(web_->text());
  f.mail = Std(mail_->text());
  f.country = Std(country_->currentText());
  f.area = Std(area_->currentText());
  f.cpuName = Std(cpuName_->text());
  std::string* clocks[] = {
      &f.clock,      &f.clockOriginal,      &f.systemClock, &f.systemClockOriginal,
      &f.multiplier, &f.multiplierOriginal, &f.overClock};
  for (size_t i = 0; i < clocks_.size(); ++i) *clocks[i] = Std(clocks_[i]->text());
  f.motherBoard = Std(mother_->text());
  f.chipSet = Std(chipSet_->currentText());
  f.video = Std(video_->currentText());
  f.videoMemory = Std(videoMemory_->text());
  f.memory = Std(memory_->currentText());
  f.memorySize = Std(memorySize_->text());
  f.disk = Std(disk_.text());
  f.diskSize = Std(diskSize_->text());
  f.raid = raid_;
  f.raidController = Std(controller_.text());
  f.raidSize = Std(raidSize_->text());
  f.raidType = Std(raidType_.text());
  for (size_t i = 0; i < members_.size(); ++i) {
    f.raidDisks[i] = Std(members_[i].text());
    f.raidDiskSizes[i] = Std(memberSizes_[i]->text());
  }
  f.comment = Std(comment_->toPlainText());
  return f;
}

void RankingPage::setForm(const RankingForm& f) {
  user_->setText(Qs(f.userName));
  machine_->setText(Qs(f.machineName));
  password_->setText(Qs(f.password));
  web_->setText(Qs(f.web));
  mail_->setText(Qs(f.mail));
  ShowTextIn(country_, Qs(f.country));
  // The area list of English mode stays empty.
  if (area_->count() > 0 || f.area.empty()) ShowTextIn(area_, Qs(f.area));
  cpuName_->setText(Qs(f.cpuName));
  const std::string* clocks[] = {
      &f.clock,      &f.clockOriginal,      &f.systemClock, &f.systemClockOriginal,
      &f.multiplier, &f.multiplierOriginal, &f.overClock};
  for (size_t i = 0; i < clocks_.size(); ++i) clocks_[i]->setText(Qs(*clocks[i]));
  mother_->setText(Qs(f.motherBoard));
  chipSet_->setEditText(Qs(f.chipSet));
  video_->setEditText(Qs(f.video));
  videoMemory_->setText(Qs(f.videoMemory));
  memory_->setEditText(Qs(f.memory));
  memorySize_->setText(Qs(f.memorySize));
  const bool raid = f.raid == 1;
  auto setPair = [raid](PairedList& pair, const std::string& text, bool raidRow) {
    QComboBox* shown = raidRow == raid ? pair.editable : pair.locked;
    ShowTextIn(shown, Qs(text));
  };
  if (raid_ != f.raid) onRaid();
  setPair(disk_, f.disk, false);
  diskSize_->setText(Qs(f.diskSize));
  setPair(controller_, f.raidController, true);
  raidSize_->setText(Qs(f.raidSize));
  setPair(raidType_, f.raidType, true);
  for (size_t i = 0; i < members_.size(); ++i) {
    setPair(members_[i], f.raidDisks[i], true);
    memberSizes_[i]->setText(Qs(f.raidDiskSizes[i]));
  }
  comment_->setPlainText(Qs(f.comment));
}

void RankingPage::refreshFromCollector() {
  for (const std::string& caption : inventory_->ReadCollectorDiskCaptions()) {
    AddSorted(disk_.editable, Qs(caption));
  }
  const std::string videoMemory = inventory_->ReadCollectorVideoMemory();
  if (!videoMemory.empty()) videoMemory_->setText(Qs(videoMemory));
}

void RankingPage::refreshLanguage() {
  // The area list exists only in Japanese.
  const QString area = area_->currentText();
  area_->clear();
  if (UiLanguage.load() == kJapanese) {
    for (const std::string& entry : LoadPlainList(environment_.dataFolder + "/" + kAreaFile)) {
      area_->addItem(Qs(entry));
    }
    area_->setCurrentIndex(area_->findText(area));
  }
}

void RankingPage::showEvent(QShowEvent* event) {
  refreshScores();
  Page::showEvent(event);
}

void RankingPage::refreshScores() {
  const MarkPageData mark = pages_ != nullptr ? pages_->ReadMarkPage() : MarkPageData{};
  entry_->setEnabled(mark.runComplete && !entryOff_);
  scores_->setRowCount(0);
  if (engine_ == nullptr) return;
  for (int k = 0; k <= 10; ++k) {
    const std::string name = engine_->BenchString(0, k);
    if (name.empty()) continue;
    const int row = scores_->rowCount();
    scores_->insertRow(row);
    scores_->setItem(row, 0, new QTableWidgetItem(Qs(name)));
    scores_->setItem(
        row, 1,
        new QTableWidgetItem(QString::number(mark.result.score[0][static_cast<size_t>(k)])));
  }
  fitScoreColumns();
}

void RankingPage::fitScoreColumns() {
  const int width = scores_->viewport()->width();
  scores_->setColumnWidth(0, width * 65 / 100);
  scores_->setColumnWidth(1, width * 35 / 100);
}

void RankingPage::resizeEvent(QResizeEvent* event) {
  Page::resizeEvent(event);
  fitScoreColumns();
}

QString RankingPage::settingsServer() const {
  return settings_ != nullptr ? Qs(settings_->ReadSetting(kRankingServerKey)) : QString();
}

void RankingPage::onEntry() {
  if (entryOff_) return;
  const int language = UiLanguage.load();
  const MarkPageData mark = pages_ != nullptr ? pages_->ReadMarkPage() : MarkPageData{};
  const CpuPageData cpu = pages_ != nullptr ? pages_->ReadCpuPage() : CpuPageData{};
  const SystemPageData system = pages_ != nullptr ? pages_->ReadSystemPage() : SystemPageData{};
  const EntryMachine machine =
      EntryMachineOf(cpu, system, environment_.kernelRelease, inventory_->ReadDeviceFacts());
  const std::string server = Std(settingsServer());
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const EntryOutcome outcome = RegisterEntry(form(), machine, mark.result, environment_.title(),
                                             server, language, false, environment_.limits);
  QApplication::restoreOverrideCursor();
  if (outcome.formProblem) {
    environment_.showMessage(FormProblemText(*outcome.formProblem, language));
    return;
  }
  lastBody_ = outcome.body;
  if (!outcome.posted.problem.empty()) writeLog("Ranking entry: " + outcome.posted.problem);
  const ReplyDecision& decision = outcome.decision;
  switch (decision.action) {
    case ReplyAction::kOpenEntry: environment_.openAddress(decision.text); break;
    case ReplyAction::kOfferClipboard:
      if (environment_.askYesNo(decision.text)) environment_.putOnClipboard(lastBody_);
      break;
    case ReplyAction::kShowMessage: environment_.showMessage(decision.text); break;
    case ReplyAction::kNothing: break;
  }
}

void RankingPage::onFix() {
  clocksReadOnly_ = !clocksReadOnly_;
  cpuName_->setReadOnly(clocksReadOnly_);
  for (size_t i = 0; i < 6; ++i) clocks_[i]->setReadOnly(clocksReadOnly_);
}

void RankingPage::onRaid() {
  raid_ = raid_ == 0 ? 1 : 0;
  const bool on = raid_ == 1;
  raidBox_->setChecked(on);
  diskLabel_->setText(on ? "HDD" : "HDD (*)");
  controllerLabel_->setText(on ? "Controller (*)" : "Controller");
  disk_.show(!on);
  controller_.show(on);
  raidType_.show(on);
  for (PairedList& member : members_) member.show(on);
}

void RankingPage::onIsoCodes() { environment_.openAddress(kIsoCountryCodesAddress); }

void RankingPage::onClockEdited(ClockEdit field) {
  RankingForm f = form();
  ApplyClockEdit(f, field);
  // Only the recomputed fields change; the edited one keeps its cursor.
  const std::string* clocks[] = {
      &f.clock,      &f.clockOriginal,      &f.systemClock, &f.systemClockOriginal,
      &f.multiplier, &f.multiplierOriginal, &f.overClock};
  for (size_t i = 0; i < clocks_.size(); ++i) {
    if (clocks_[i]->text() != Qs(*clocks[i])) clocks_[i]->setText(Qs(*clocks[i]));
  }
}

std::unique_ptr<ResultDialog> RankingPage::makeResultDialog() const {
  SummaryInputs in;
  in.form = form();
  if (pages_ != nullptr) {
    in.result = pages_->ReadMarkPage().result;
    const SystemPageData system = pages_->ReadSystemPage();
    in.osName = system.osName;
    in.servicePack = system.servicePack;
    in.processorCount = pages_->ReadCpuPage().number;
  }
  in.directX = inventory_->ReadDeviceFacts().directX;
  double opacity = 1.0;
  if (settings_ != nullptr && settings_->ReadInt("EnableAlpha") > 0) {
    opacity = std::clamp(settings_->ReadInt("Alpha"), 0, 255) / 255.0;
  }
  auto dialog = std::make_unique<ResultDialog>(BuildResultSummary(in), Qs(environment_.title()),
                                               opacity, const_cast<RankingPage*>(this));
  dialog->setWindowIcon(window()->windowIcon());
  return dialog;
}

void RankingPage::onResultDialog() {
  std::unique_ptr<ResultDialog> dialog = makeResultDialog();
  environment_.runDialog(*dialog);
}

bool RankingPage::entryEnabled() const { return entry_->isEnabled(); }
bool RankingPage::clocksReadOnly() const { return clocksReadOnly_; }

QComboBox* RankingPage::combo(const char* name) const {
  return findChild<QComboBox*>(QString::fromUtf8(name));
}
QLineEdit* RankingPage::edit(const char* name) const {
  return findChild<QLineEdit*>(QString::fromUtf8(name));
}

}  // namespace velora
