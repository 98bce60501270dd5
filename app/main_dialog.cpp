#include "app/main_dialog.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>
#include <cstdlib>

#include "app/dialog_units.h"
#include "app/open_in_folder.h"
#include "app/pages/device_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/ranking_page.h"
#include "app/qt_translations.h"
#include "app/queued_call.h"
#include "app/skin/translucency.h"
#include "core/app_log.h"
#include "core/settings.h"
#include "core/ui_language.h"
#include "info/inventory_sysfs.h"
#include "platform/app_paths.h"
#include "platform/program_folder.h"
#include "probe/probe_id_table.h"
#include "report/report_delivery.h"
#include "session/machine_pages.h"

namespace velora {
namespace {

// The window's size in dialog units of the window's font.
constexpr int kTemplateWidthDlu = 371;
constexpr int kTemplateHeightDlu = 337;

QSize TemplateSize(const QFont& font) {
  return DialogUnits(font).size(kTemplateWidthDlu, kTemplateHeightDlu);
}

QString Qs(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

MainDialog::MainDialog(const MainWindowContext& context, QWidget* parent)
    : MainDialog(context, std::make_unique<MachineAccess>(), nullptr, parent) {}

MainDialog::MainDialog(const MainWindowContext& context, MachineAccess& machine, QWidget* parent)
    : MainDialog(context, nullptr, &machine, parent) {}

MainDialog::MainDialog(const MainWindowContext& context, std::unique_ptr<MachineAccess> own,
                       MachineAccess* machine, QWidget* parent)
    : QDialog(parent),
      context_(context),
      ownMachine_(std::move(own)),
      machine_(machine != nullptr ? *machine : *ownMachine_) {
  // Before the probe is first loaded: every load, the start-up's and the CPU page's later
  // ones, reads the machine shown.
  machine_.Bind(context_.binding);
  // A main window rather than a dialog to the window manager, so that it offers maximising.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  openFile = [](const std::string& path) { OpenFile(path); };
  openAddress = [](const std::string& address) { OpenAddress(address); };
  showMessage = [this](const std::string& text, const std::string& caption) {
    QMessageBox::information(isVisible() ? this : nullptr, QString::fromStdString(caption),
                             QString::fromStdString(text), QMessageBox::Ok);
  };

  templateRoots = CurrentTemplateRoots();
  askSavePath = [this](ReportForm form) { return AskReportSavePath(this, form); };
  copyText = [](const std::string& report) { CopyReport(report); };
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  previewFolder =
      PreviewFolder(ProgramFolder(), CurrentPathEnvironment(ProgramFolder()).programFolderWritable,
                    cache != nullptr ? cache : "", home != nullptr ? home : "");

  QIcon icon;
  for (int size : {48, 128, 256}) icon.addFile(QStringLiteral(":/icons/velora09-%1.png").arg(size));
  setWindowIcon(icon);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);
  layout->setMenuBar(menuBar_);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  layout->addWidget(tabs_);
  buildMenus();
  sizeFromTemplate();
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (!switching_ && index >= 0) selectPage(index);
  });
  connect(&skin_, &Skin::changed, this, &MainDialog::dressPages);
}

void MainDialog::dressPages() {
  for (int index = 0; index < kPageCount; ++index) skin_.dress(page(index));
  update();
}

MainDialog::~MainDialog() {
  // The collector stops and is joined before the pages it stores into go.
  collector_.reset();
  // Pages go in their own order, before the tab control that shows them.
  pages_.Clear();
}

bool MainDialog::initialise() { return InitialiseMainWindow(context_, *this); }

void MainDialog::sizeFromTemplate() {
  // The template's size is where the window opens and the least it shrinks to; the pages'
  // layouts take whatever room it is given beyond that.
  tabs_->setMinimumSize(TemplateSize(font()));
  resize(layout()->minimumSize());
}

QAction* MainDialog::addCommand(QMenu* menu, int command, const char* caption) {
  QAction* a = menu->addAction(Qs(caption));
  a->setData(command);
  actions_[command] = a;
  connect(a, &QAction::triggered, this, [this, command] { runCommand(command); });
  return a;
}

void MainDialog::buildMenus() {
  QMenu* file = menuBar_->addMenu(Qs(kMenuBarCaptions[0].english));
  addCommand(file, kCmdExit, kExitCaption.english);

  editMenu_ = menuBar_->addMenu(Qs(kMenuBarCaptions[1].english));
  // Filled from the report templates; empty until there are any.
  for (const char* submenu : kEditSubmenus) editMenu_->addMenu(Qs(submenu));

  QMenu* tab = menuBar_->addMenu(Qs(kMenuBarCaptions[2].english));
  for (const MenuEntry& entry : kTabMenu) {
    addCommand(tab, entry.command, entry.caption)->setCheckable(true);
  }

  QMenu* help = menuBar_->addMenu(Qs(kMenuBarCaptions[3].english));
  for (const MenuEntry& entry : kHelpMenu) {
    if (entry.command == 0) {
      help->addSeparator();
    } else {
      addCommand(help, entry.command, entry.caption);
    }
  }

  QMenu* language = menuBar_->addMenu(Qs(kLanguageMenuCaption));
  for (const MenuEntry& entry : kLanguageMenu) {
    addCommand(language, entry.command, entry.caption)->setCheckable(true);
  }
}

QAction* MainDialog::action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void MainDialog::buildTemplateMenus() {
  reportCpuid_ = ReportCpuidOf(machine_);
  reportMenu_ = std::make_unique<ReportMenu>(templateRoots, *reportCpuid_);
  reportMenu_->fill(editMenu_, [this](QMenu* submenu, int command, const QString& caption) {
    QAction* a = submenu->addAction(caption);
    a->setData(command);
    actions_[command] = a;
    connect(a, &QAction::triggered, this, [this, command] { runCommand(command); });
  });
  menuBar_->update();
}

ReportPages MainDialog::reportPages() const {
  ReportPages p;
  p.system = pages_.ReadSystemPage();
  p.cpu = pages_.ReadCpuPage();
  p.device = pages_.ReadDevicePage();
  p.pci = pages_.ReadPciPage();
  p.disk = pages_.ReadDiskPage();
  p.result = pages_.ReadMarkPage().result;
  if (auto* mark = dynamic_cast<MarkPage*>(page(0))) {
    p.markDisplayMode = mark->displayModeText();
    p.markFontSmoothing = mark->fontSmoothingText();
  }
  if (auto* ranking = dynamic_cast<RankingPage*>(page(1))) p.ranking = ranking->form();
  p.os = ReadOs(machine_);
  p.title = baseTitle_;
  return p;
}

void MainDialog::runCommand(int command) {
  if (TemplateGroupOf(command) >= 0 && reportMenu_) {
    const QAction* item = action(command);
    ReportMenuHooks hooks;
    hooks.pages = [this] { return reportPages(); };
    hooks.openFile = openFile;
    hooks.openAddress = openAddress;
    hooks.showError = [this](const std::string& text) { showMessage(text, programName()); };
    hooks.askSavePath = askSavePath;
    hooks.copy = copyText;
    hooks.previewFolder = previewFolder;
    if (item != nullptr) reportMenu_->run(command, item->text().toStdString(), hooks);
    // The command then goes on to the ordinary handling, which has nothing for it.
  }
  if (command >= kCmdTabFirst && command <= kCmdTabLast) {
    selectPage(command - kCmdTabFirst);
    return;
  }
  switch (command) {
    case kCmdExit: close(); break;
    case kCmdHelpVelora: openFile(HelpFilePath("Velora09.txt")); break;
    case kCmdHelpProbix: openFile(HelpFilePath("Probix.txt")); break;
    case kCmdHelpSettings:
      // The file this program reads, even when it has been renamed.
      openFile(context_.settings.path());
      break;
    case kCmdOrvanto: openAddress(MakerSiteAddress(UiLanguage)); break;
    case kCmdJapanese: setLanguage(kJapanese); break;
    case kCmdEnglish: setLanguage(kEnglish); break;
    default: break;
  }
}

void MainDialog::selectPage(int index) {
  if (index < 0 || index >= kPageCount) return;
  if (refresh_.TakeOnPageChange()) {
    for (int refreshed : {1, 2, 5, 7}) {  // Ranking, System, Device, Disk
      if (Page* p = page(refreshed)) p->refreshFromCollector();
    }
  }
  if (QAction* old = action(kCmdTabFirst + current_)) {
    old->setChecked(false);
    old->setEnabled(true);
  }
  if (QAction* now = action(kCmdTabFirst + index)) {
    now->setChecked(true);
    now->setEnabled(false);
  }
  switching_ = true;
  tabs_->setCurrentIndex(index);
  switching_ = false;
  current_ = index;
}

void MainDialog::setTitleSuffix(const std::string& text) {
  // The collector calls this from its own thread; the title is changed on the GUI thread.
  if (QThread::currentThread() != thread()) {
    QueueCall(this, [this, text] { setTitleSuffix(text); });
    return;
  }
  titleSuffix_ = text;
  setWindowTitle(QString::fromStdString(TitleWithSuffix(titleBase(), text)));
}

std::string MainDialog::titleBase() const {
  if (!machine_.replaying()) return baseTitle_;
  return RecordingTitle(baseTitle_, machine_.recording()->name, UiLanguage.load());
}

void MainDialog::setLanguage(int language) {
  UiLanguage = language;
  const QList<QAction*> bar = menuBar_->actions();
  for (size_t i = 0; i < kMenuBarCaptions.size() && i < static_cast<size_t>(bar.size()); ++i) {
    bar[static_cast<qsizetype>(i)]->setText(Qs(CaptionFor(kMenuBarCaptions[i], language)));
  }
  if (QAction* exit = action(kCmdExit)) exit->setText(Qs(CaptionFor(kExitCaption, language)));

  QAction* chosen = action(language == kEnglish ? kCmdEnglish : kCmdJapanese);
  QAction* other = action(language == kEnglish ? kCmdJapanese : kCmdEnglish);
  chosen->setChecked(true);
  chosen->setEnabled(false);
  other->setChecked(false);
  other->setEnabled(true);

  context_.settings.WriteSetting("Language", LanguageSettingText(language));
  // Without Qt's Japanese texts installed its dialogs stay English; nothing else changes.
  QtTextsFollow(language);

  if (machine_.replaying()) {
    // The title and every page's "not recorded" follow the language.
    for (int index = 0; index < kPageCount; ++index) {
      if (Page* p = page(index)) p->refreshLanguage();
    }
    if (!baseTitle_.empty()) {
      setWindowTitle(QString::fromStdString(
          titleSuffix_ ? TitleWithSuffix(titleBase(), *titleSuffix_) : titleBase()));
    }
  } else {
    for (int refreshed : {0, 1, 7}) {  // Mark, Ranking, Disk
      if (Page* p = page(refreshed)) p->refreshLanguage();
    }
  }
  menuBar_->update();
  if (translucent_) repaint();
}

void MainDialog::requestPageRefresh() { refresh_.Request(); }

void MainDialog::ShowMessage(const std::string& text, const std::string& caption) {
  showMessage(text, caption);
}

void MainDialog::ShowMessage(const std::string& text) { showMessage(text, programName()); }

void MainDialog::EndProcess(int exitCode) { std::exit(exitCode); }

void MainDialog::CreatePages(ProbeObject* probe) {
  PageContext pageContext;
  pageContext.probe = probe;
  pageContext.probes = &context_.binding;
  pageContext.settings = &context_.settings;
  pageContext.messages = this;
  pageContext.log = &context_.log;
  pageContext.startupFlags = context_.startupFlags;
  pageContext.skin = &skin_;
  pageContext.machine = &machine_;
  switching_ = true;
  pages_.Create(pageContext, [this](Page& p) { tabs_->insertTab(p.tabIndex(), &p, p.caption()); });
  switching_ = false;

  char release[kProbeTextCapacity] = "";
  if (probe != nullptr) probe->GetString(probe_id::kBuildNumber, release);
  // The probe is gone when the collector runs; keep what it read of the SMBIOS tables.
  int32_t smbiosFound = 0;
  char smbios[kProbeTextCapacity] = "";
  if (probe != nullptr && probe->GetInt(probe_id::kSmbiosFound, &smbiosFound) == 0 &&
      smbiosFound > 0 && probe->GetString(probe_id::kSmbiosVersion, smbios) == 0) {
    smbiosVersion_ = smbios;
  }
  baseTitle_ = BaseTitle(release);
  setWindowTitle(QString::fromStdString(titleBase()));

  buildTemplateMenus();
  skin_.applySettings(context_.settings);
  translucent_ = applyStartupTransparency(this, context_.settings);
  setLanguage(UiLanguage);
  // The pages are in: the window opens at the template's size once more, now with them.
  sizeFromTemplate();
}

void MainDialog::StartCollector() {
  if (collector_) return;
  auto* mark = dynamic_cast<MarkPage*>(page(0));
  InventoryRunner::Hooks hooks;
  hooks.setRunControls = [mark](bool enable) {
    if (mark != nullptr) mark->setRunControlsEnabled(enable, false);
  };
  hooks.setTitleSuffix = [this](const std::string& suffix) { setTitleSuffix(suffix); };
  hooks.requestPageRefresh = [this] { requestPageRefresh(); };
  hooks.store = [this](const InventoryFields& fields) { pages_.StoreInventory(fields); };
  AppLog* log = &context_.log;
  hooks.log = [log](const std::string& line) { log->Write(line); };

  SysfsInventoryOptions options;
  options.programFolder = ProgramFolder();
  options.probeSmbiosVersion = smbiosVersion_;
  if (auto* device = dynamic_cast<DevicePage*>(page(5))) {
    options.openGlRenderer = device->openGlRenderer();
  }
  collector_ = std::make_unique<InventoryRunner>(std::move(hooks));
  collector_->Start(InventorySourcesOf(machine_, options),
                    InventoryRequestOf(context_.settings, context_.startupFlags(),
                                       pages_.ReadDiskPage().identifiedModels));
}

void MainDialog::ShowFirstPage() { selectPage(0); }

void MainDialog::done(int result) {
  // The worker is joined when the page goes, after the window has closed.
  pages_.StopRuns();
  QDialog::done(result);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // Enter does nothing here; Escape closes the window as the close box does.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace velora
