#include "app/report_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QUrl>
#include <filesystem>

#include "report/report_builder.h"
#include "report/report_delivery.h"

namespace velora {

void ReportMenu::fill(
    QMenu* editMenu,
    const std::function<void(QMenu* submenu, int command, const QString& caption)>& add) {
  const QList<QAction*> submenus = editMenu->actions();
  for (int group = 0; group < kTemplateGroups && group < submenus.size(); ++group) {
    QMenu* submenu = submenus[group]->menu();
    if (submenu == nullptr) continue;
    submenu->clear();
    const auto files = SearchTemplates(roots_, FormOfGroup(group));
    for (const TemplateMenuItem& item : TemplateMenuItems(files, group)) {
      add(submenu, item.id, QString::fromStdString(item.caption));
    }
  }
}

void ReportMenu::run(int command, const std::string& caption, const ReportMenuHooks& hooks) {
  const int group = TemplateGroupOf(command);
  if (group < 0) return;
  const ReportForm form = FormOfGroup(group);
  const auto path = TemplatePath(roots_, form, caption);
  if (!path) return;
  const auto bytes = ReadTemplateBytes(*path);
  if (!bytes) return;
  const std::string report = BuildReport(*bytes, form, hooks.pages(), cpuid_);
  std::string error;
  switch (ActionOfGroup(group)) {
    case ReportAction::kCopy: hooks.copy(report); break;
    case ReportAction::kSave:
      if (const auto chosen = hooks.askSavePath(form)) {
        if (!WriteReportFile(*chosen, report, error)) hooks.showError(error);
      }
      break;
    case ReportAction::kPreview: {
      std::error_code ignored;
      std::filesystem::create_directories(hooks.previewFolder, ignored);
      const std::string preview = PreviewPath(hooks.previewFolder, form);
      if (!WriteReportFile(preview, report, error)) {
        hooks.showError(error);
      } else if (form == ReportForm::kHtml) {
        hooks.openAddress(
            QUrl::fromLocalFile(QString::fromStdString(preview)).toString().toStdString());
      } else {
        hooks.openFile(preview);
      }
      break;
    }
  }
}

std::optional<std::string> AskReportSavePath(QWidget* parent, ReportForm form) {
  const SaveDialogChoices choices = SaveChoicesOf(form);
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromUtf8(choices.defaultSuffix));
  dialog.setNameFilters(
      {QString::fromUtf8(choices.formFilter), QString::fromUtf8(choices.allFilter)});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

void CopyReport(const std::string& report) {
  if (QClipboard* clipboard = QApplication::clipboard()) {
    clipboard->setText(QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size())));
  }
}

}  // namespace velora
