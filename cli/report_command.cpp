#include "cli/report_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/info_command.h"
#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "info/cpu_page_data.h"
#include "info/disk_page_data.h"
#include "info/pci_page_data.h"
#include "platform/linux/linux_cpuid_source.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/program_folder.h"
#include "probe/probe_id_table.h"
#include "ranking/ranking_form.h"
#include "report/report_builder.h"
#include "report/template_folders.h"

namespace velora {

std::optional<ReportRequest> ParseReportCommand(const std::vector<std::string>& words,
                                                std::string& error) {
  ReportRequest request;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--html") {
      request.html = true;
    } else if (word == "--template" || word == "-o" || word == "--output") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        error = "report: " + word + " needs a value";
        return std::nullopt;
      }
      (word == "--template" ? request.templateName : request.output) = words[++i];
    } else {
      error = "report: unknown option " + word;
      return std::nullopt;
    }
  }
  return request;
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

ReportPages HeadlessReportPages(const BenchResult& result) {
  ReportPages pages;
  pages.result = result;
  // Without a screen there is no display mode to report, as `velora mark` prints it.
  if (result.runSettings.display.width != 0) {
    pages.markDisplayMode = result.runSettings.displayMode;
    pages.markFontSmoothing = result.runSettings.fontSmoothing;
  }
  pages.os = IdentifyOperatingSystem();
  const GraphicsApiVersions graphics = ReadGraphicsApiVersions();
  LinuxDiskCommands commands;
  DiskPageSources sources(commands);
  sources.safeMode = (startupFlags() & kSafeMode) != 0;
  pages.disk = ReadDiskPageData(sources);
  const InventoryFields inventory =
      CollectInventoryNow(graphics.openGlRenderer, pages.disk.identifiedModels);
  pages.system = ReadSystemPageNow(pages.os, inventory);
  ReadRememberedFields(ProgramSettings(), pages.ranking);
  char release[kProbeTextCapacity] = "";
  ProbeBinding binding(ProgramFolder());
  if (binding.Load(kCreateCpuProbe | kCreatePciProbe) && binding.probe() != nullptr) {
    ProbeObject& probe = *binding.probe();
    pages.cpu = BuildCpuPageData(probe, 0, pages.os, ReadMemoryStatus().physicalTotal);
    pages.pci = ReadPciPageData(probe);
    pages.device = ReadDevicePageNow(probe, graphics, inventory);
    probe.GetString(probe_id::kBuildNumber, release);
  }
  binding.Release();
  pages.title = BaseTitle(release);
  return pages;
}

int WriteReport(const ReportRequest& request, const ReportPages& pages) {
  const ReportForm form = request.html ? ReportForm::kHtml : ReportForm::kText;
  std::string error;
  const auto bytes = FindTemplate(request.templateName, form, CurrentTemplateRoots(), error);
  if (!bytes) {
    std::fprintf(stderr, "velora: %s\n", error.c_str());
    return 1;
  }
  const std::string report = BuildReport(*bytes, form, pages, ProcessCpuidSource());
  std::FILE* out = request.output.empty() ? stdout : std::fopen(request.output.c_str(), "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "velora: %s: %s\n", request.output.c_str(), std::strerror(errno));
    return 1;
  }
  const bool written = std::fwrite(report.data(), 1, report.size(), out) == report.size();
  const bool flushed = out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0;
  if (!written || !flushed) {
    const std::string where = request.output.empty() ? "standard output" : request.output;
    std::fprintf(stderr, "velora: %s: %s\n", where.c_str(), std::strerror(errno));
    return 1;
  }
  return 0;
}

std::string ResultRecordJson(const BenchResult& r) {
  nlohmann::ordered_json root;
  root["overall"] = r.score[0][0];
  root["fullRun"] = r.fullRun;
  root["complete"] = IsRunComplete(r);
  nlohmann::ordered_json tests = nlohmann::ordered_json::array();
  for (int test = 1; test < kTestRows; ++test) {
    nlohmann::ordered_json t;
    t["id"] = test;
    t["name"] = TestShortName(test);
    t["score"] = r.score[0][test];
    nlohmann::ordered_json subs = nlohmann::ordered_json::array();
    for (int sub = 0; sub < kSubTestsPerRun; ++sub) {
      subs.push_back(
          {{"index", sub}, {"score", r.score[test][sub]}, {"value", r.value[test][sub]}});
    }
    t["subTests"] = subs;
    const DisplayState& d = r.display[test];
    t["display"] = {{"width", d.width},
                    {"height", d.height},
                    {"bitsPerPixel", d.bitsPerPixel},
                    {"fontSmoothing", d.fontSmoothing}};
    tests.push_back(t);
  }
  root["tests"] = tests;
  const RunSettings& s = r.runSettings;
  root["runSettings"] = {{"processorMask", s.processorMask},
                         {"displayMode", s.displayMode},
                         {"fontSmoothing", s.fontSmoothing},
                         {"scratchSizeMb", s.scratchSizeMb},
                         {"display",
                          {{"width", s.display.width},
                           {"height", s.display.height},
                           {"bitsPerPixel", s.display.bitsPerPixel},
                           {"fontSmoothing", s.display.fontSmoothing}}}};
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

const char* ReportUsage() {
  return "       velora report [--html] [--template NAME|FILE] [-o FILE]\n"
         "\n"
         "report        builds a report of this machine from a template (\"Standard\" by\n"
         "              default; NAME is a template of the text, or with --html the HTML,\n"
         "              folder: template/ beside the program, ../share/velora09/template,\n"
         "              then $XDG_DATA_HOME/velora09/template, a file there replacing a\n"
         "              shipped one of its name), or from the template FILE; the result\n"
         "              block is empty, as nothing has run. Without -o it goes to standard\n"
         "              output, byte for byte as made (CR LF line ends).\n"
         "mark ... --report FILE [--html] [--template NAME]\n"
         "              writes such a report, with the run's result, after the run\n"
         "mark ... --json  prints the result record as JSON instead of the result block\n";
}

}  // namespace velora
