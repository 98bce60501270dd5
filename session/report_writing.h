#pragma once
// Writing a report of the machine, once for the Edit menu, `velora report` and `velora mark
// --report`: the report's view of a collected machine and a run, and the template lookup.

#include <optional>
#include <string>
#include <vector>

#include "bench/bench_result.h"
#include "platform/cpuid_source.h"
#include "report/report_pages.h"
#include "session/machine_snapshot.h"

namespace velora {

// The parts of the machine a report reads.
constexpr uint32_t kReportParts = kSystemPart | kCpuPart | kDevicePart | kPciPart | kDiskPart;

// What a report reads of a machine and a run (an empty result when nothing has run).
ReportPages ReportPagesOf(const MachineSnapshot& machine, const BenchResult& result);

// The template bytes a name stands for: a path (any word with a "/", or an existing file), else
// NAME or NAME.txt / NAME.html in the template folders, "Standard" when empty. nullopt with error.
std::optional<std::string> FindTemplate(const std::string& value, ReportForm form,
                                        const std::vector<std::string>& roots, std::string& error);

// The report from the template a name stands for, in the current template folders.
std::optional<std::string> BuildReportFromTemplate(const std::string& templateName, ReportForm form,
                                                   const ReportPages& pages, CpuidSource& cpuid,
                                                   std::string& error);

}  // namespace velora
