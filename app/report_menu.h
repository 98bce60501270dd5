#pragma once
// The Edit menu's report templates: six submenus filled once from the template folders, and the
// command that makes a report from a chosen template and copies, saves or previews it.

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/cpuid_source.h"
#include "report/report_pages.h"
#include "report/template_folders.h"

class QMenu;
class QWidget;

namespace velora {

struct ReportMenuHooks {
  // The pages as they stand, after the Mark and Ranking pages have given up what they hold.
  std::function<ReportPages()> pages;
  std::function<void(const std::string& path)> openFile;
  std::function<void(const std::string& address)> openAddress;
  std::function<void(const std::string& text)> showError;
  // The save dialog; nothing when the user cancels.
  std::function<std::optional<std::string>(ReportForm form)> askSavePath;
  std::function<void(const std::string& report)> copy;
  std::string previewFolder;
};

class ReportMenu {
 public:
  ReportMenu(std::vector<std::string> roots, CpuidSource& cpuid)
      : roots_(std::move(roots)), cpuid_(cpuid) {}

  // Fills submenu g of editMenu from the folders; add makes each item's action run its command.
  void fill(QMenu* editMenu,
            const std::function<void(QMenu* submenu, int command, const QString& caption)>& add);

  // A template command: reads the template the caption names and delivers the report; nothing
  // at all when the template cannot be read any more.
  void run(int command, const std::string& caption, const ReportMenuHooks& hooks);

 private:
  std::vector<std::string> roots_;
  CpuidSource& cpuid_;
};

// The save dialog with the form's filters and default extension, parented to parent.
std::optional<std::string> AskReportSavePath(QWidget* parent, ReportForm form);

// The report as clipboard text.
void CopyReport(const std::string& report);

}  // namespace velora
