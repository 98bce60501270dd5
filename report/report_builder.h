#pragma once
// Turns a template's bytes into a finished report: every placeholder word of the template
// replaced by what the pages show or by a composed block, escaped for an HTML report. The bytes
// around the placeholders stay exactly as they were in the file.

#include <string>

#include "platform/cpuid_source.h"
#include "report/report_pages.h"

namespace velora {

// cpuid answers for the processor the report runs on (the dump is taken when asked).
std::string BuildReport(std::string templateBytes, ReportForm form, const ReportPages& pages,
                        CpuidSource& cpuid);

// Replaces every occurrence of word in text, scanning on after each inserted value.
void ReplaceEverywhere(std::string& text, const std::string& word, const std::string& value);

// "%d MB (%s)" of the System page's physical total plus one and the Ranking form's memory.
std::string MemoryText(const std::string& physicalTotal, const std::string& rankingMemory);

// name, edition, service pack and "[major.minor Build build]".
std::string ReportOsText(const OsIdentity& os);

}  // namespace velora
