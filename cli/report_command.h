#pragma once
// "velora report": a report of the machine from a template, without a window; and the report
// and JSON options of "velora mark".

#include <optional>
#include <string>
#include <vector>

#include "bench/bench_result.h"
#include "report/report_pages.h"
#include "session/report_writing.h"

namespace velora {

struct ReportRequest {
  bool html = false;
  std::string templateName;  // a template's name ("Full", "Full.html") or a file's path
  std::string output;        // empty: standard output
  std::vector<std::string> from;  // recordings to report on instead of this machine
};

// Parses the words after "report"; on failure error says why.
std::optional<ReportRequest> ParseReportCommand(const std::vector<std::string>& words,
                                                std::string& error);

// Builds the report and writes it to the request's file or standard output; the exit status.
int WriteReport(const ReportRequest& request, const ReportPages& pages, CpuidSource& cpuid);

// The result record as JSON: the overall score, every test with its score and its sub-tests'
// scores and values, and the run's settings.
std::string ResultRecordJson(const BenchResult& result);

const char* ReportUsage();

}  // namespace velora
