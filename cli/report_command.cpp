#include "cli/report_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "bench/bench_result.h"

namespace velora {

std::optional<ReportRequest> ParseReportCommand(const std::vector<std::string>& words,
                                                std::string& error) {
  ReportRequest request;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--html") {
      request.html = true;
    } else if (word == "--from") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        error = "report: --from needs a recording (a folder or a file)";
        return std::nullopt;
      }
      request.from.push_back(words[++i]);
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

int WriteReport(const ReportRequest& request, const ReportPages& pages, CpuidSource& cpuid) {
  const ReportForm form = request.html ? ReportForm::kHtml : ReportForm::kText;
  std::string error;
  const auto report = BuildReportFromTemplate(request.templateName, form, pages, cpuid, error);
  if (!report) {
    std::fprintf(stderr, "velora: %s\n", error.c_str());
    return 1;
  }
  std::FILE* out = request.output.empty() ? stdout : std::fopen(request.output.c_str(), "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "velora: %s: %s\n", request.output.c_str(), std::strerror(errno));
    return 1;
  }
  const bool written = std::fwrite(report->data(), 1, report->size(), out) == report->size();
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
  return "       velora report [--html] [--template NAME|FILE] [-o FILE] [--from PATH ...]\n"
         "\n"
         "report        builds a report of this machine from a template (\"Standard\" by\n"
         "              default; NAME is a template of the text, or with --html the HTML,\n"
         "              folder: template/ beside the program, ../share/velora09/template,\n"
         "              then $XDG_DATA_HOME/velora09/template, a file there replacing a\n"
         "              shipped one of its name), or from the template FILE; the result\n"
         "              block is empty, as nothing has run. Without -o it goes to standard\n"
         "              output, byte for byte as made (with the template's line ends).\n"
         "              --from reports on a recorded machine, as velora info --from shows it.\n"
         "mark ... --report FILE [--html] [--template NAME]\n"
         "              writes such a report, with the run's result, after the run\n"
         "mark ... --json  prints the result record as JSON instead of the result block\n";
}

}  // namespace velora
