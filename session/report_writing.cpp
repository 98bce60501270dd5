#include "session/report_writing.h"

#include <filesystem>

#include "core/main_window_model.h"
#include "core/settings.h"
#include "platform/linux/linux_cpuid_source.h"
#include "report/report_builder.h"
#include "report/template_folders.h"

namespace velora {

ReportPages ReportPagesOf(const MachineSnapshot& machine, const BenchResult& result) {
  ReportPages pages;
  pages.result = result;
  // Without a screen there is no display mode to report, as `velora mark` prints it.
  if (result.runSettings.display.width != 0) {
    pages.markDisplayMode = result.runSettings.displayMode;
    pages.markFontSmoothing = result.runSettings.fontSmoothing;
  }
  pages.os = machine.os;
  pages.system = machine.system;
  pages.cpu = machine.cpu;
  pages.device = machine.device;
  pages.pci = machine.pci;
  pages.disk = machine.disk;
  ReadRememberedFields(ProgramSettings(), pages.ranking);
  pages.title = BaseTitle(machine.release);
  return pages;
}

std::optional<std::string> FindTemplate(const std::string& value, ReportForm form,
                                        const std::vector<std::string>& roots, std::string& error) {
  std::error_code ignored;
  if (value.find('/') != std::string::npos ||
      (!value.empty() && std::filesystem::is_regular_file(value, ignored))) {
    std::string why;
    auto bytes = ReadTemplateBytes(value, &why);
    if (!bytes) error = value + ": " + why;
    return bytes;
  }
  const std::string name = value.empty() ? "Standard" : value;
  const std::string extension = form == ReportForm::kHtml ? ".html" : ".txt";
  for (const std::string& candidate : {name, name + extension}) {
    if (auto path = TemplatePath(roots, form, candidate)) {
      std::string why;
      if (auto bytes = ReadTemplateBytes(*path, &why)) return bytes;
      error = *path + ": " + why;
      return std::nullopt;
    }
  }
  error = "no " + std::string(form == ReportForm::kHtml ? "HTML" : "text") + " template " + name;
  return std::nullopt;
}

std::optional<std::string> BuildReportFromTemplate(const std::string& templateName, ReportForm form,
                                                   const ReportPages& pages, CpuidSource& cpuid,
                                                   std::string& error) {
  const auto bytes = FindTemplate(templateName, form, CurrentTemplateRoots(), error);
  if (!bytes) return std::nullopt;
  return BuildReport(*bytes, form, pages, cpuid);
}

}  // namespace velora
