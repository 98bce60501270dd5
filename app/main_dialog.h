#pragma once
// The program's only top-level window: a dialog whose client area is the tab control with the
// eleven pages, under the menu bar. It opens at its template's size and grows from there.

#include <QDialog>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/inventory_runner.h"
#include "app/pages/page.h"
#include "app/pages/page_set.h"
#include "app/report_menu.h"
#include "app/skin/skin.h"
#include "bench/linked_bench_engine.h"
#include "core/main_window_model.h"
#include "core/message_sink.h"
#include "core/startup_sequence.h"
#include "platform/cpuid_source.h"
#include "session/machine_access.h"

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;

namespace velora {

class MainDialog : public QDialog, public MainWindowHost, public MessageSink {
  Q_OBJECT

 public:
  // The window of this machine.
  explicit MainDialog(const MainWindowContext& context, QWidget* parent = nullptr);
  // The window of the machine access reads; its probe objects read the same from now on.
  // machine outlives the window.
  MainDialog(const MainWindowContext& context, MachineAccess& machine, QWidget* parent = nullptr);
  ~MainDialog() override;

  // The initialisation of the window; false when it ended the process.
  bool initialise();

  void selectPage(int index);
  // Safe from any thread.
  void setTitleSuffix(const std::string& text);
  void setLanguage(int language);
  // Safe from any thread: the next page change refreshes the collector's pages.
  void requestPageRefresh();
  void runCommand(int command);

  int currentPage() const { return current_; }
  int pageRefreshState() const { return refresh_.value(); }
  Page* page(int tabIndex) const { return pages_.page(tabIndex); }
  const PagesModel& pages() const { return pages_; }
  QTabWidget* tabs() const { return tabs_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QAction* action(int command) const;
  InventoryRunner* collector() const { return collector_.get(); }
  const std::string& baseTitle() const { return baseTitle_; }
  const MachineAccess& machine() const { return machine_; }
  Skin& skin() { return skin_; }
  // Whether the start-up made the window translucent.
  bool translucent() const { return translucent_; }
  // The caption of the program's message boxes.
  const std::string& programName() const { return context_.programName; }

  // Where files and addresses go; the desktop by default, a recorder in tests.
  std::function<void(const std::string& path)> openFile;
  std::function<void(const std::string& address)> openAddress;
  // Message boxes; a test may answer them itself.
  std::function<void(const std::string& text, const std::string& caption)> showMessage;
  // The report templates' folders, read when the pages are made; the save dialog, the
  // clipboard and the preview folder of the reports. Tests replace them before initialise.
  std::vector<std::string> templateRoots;
  std::function<std::optional<std::string>(ReportForm form)> askSavePath;
  std::function<void(const std::string& report)> copyText;
  std::string previewFolder;

  // What a report reads of the pages now.
  ReportPages reportPages() const;

  // MainWindowHost
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void EndProcess(int exitCode) override;
  void CreatePages(ProbeObject* probe) override;
  void StartCollector() override;
  void ShowFirstPage() override;

  // MessageSink: a message box captioned with the program's name.
  void ShowMessage(const std::string& text) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every way of closing ends here: a benchmark run stops after its current sub-test.
  void done(int result) override;

 private:
  MainDialog(const MainWindowContext& context, std::unique_ptr<MachineAccess> own,
             MachineAccess* machine, QWidget* parent);
  // The title without the collector's suffix: the base, and the recording shown.
  std::string titleBase() const;
  void buildMenus();
  void buildTemplateMenus();
  QAction* addCommand(QMenu* menu, int command, const char* caption);
  void sizeFromTemplate();
  void dressPages();

  MainWindowContext context_;
  // The machine shown outlives everything that reads it below.
  std::unique_ptr<MachineAccess> ownMachine_;
  MachineAccess& machine_;
  std::unique_ptr<CpuidSource> reportCpuid_;
  QMenuBar* menuBar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QMenu* editMenu_ = nullptr;
  // The engine binding outlives the pages that run on it.
  LinkedBenchEngine engine_;
  // The pages read the skin while they live.
  Skin skin_;
  bool translucent_ = false;
  PageSet pages_{engine_};
  std::map<int, QAction*> actions_;
  int current_ = 0;
  bool switching_ = false;
  PageRefreshState refresh_;
  // Goes before the pages it stores into.
  std::unique_ptr<InventoryRunner> collector_;
  std::string smbiosVersion_;
  std::string baseTitle_;
  std::optional<std::string> titleSuffix_;
  std::unique_ptr<ReportMenu> reportMenu_;
};

}  // namespace velora
