#include "report/report_builder.h"

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "bench/result_text_block.h"
#include "core/html_text.h"
#include "report/report_blocks.h"
#include "report/template_expansion.h"

namespace velora {

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n\v\f");
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string HtmlLineBreaks(std::string text) {
  ReplaceEverywhere(text, "\r\n", "<br>\r\n");
  return text;
}

// A template that puts a value in parentheses would print "()" for a value not known: the
// parentheses go with it, and the blank before them.
void DropEmptyParentheses(std::string& report, const std::string& word) {
  for (const std::string& inner : {word, "[i]" + word + "[/i]", "<i>" + word + "</i>"}) {
    ReplaceEverywhere(report, " (" + inner + ")", "");
    ReplaceEverywhere(report, "(" + inner + ")", "");
  }
}

// Nothing has run: no test started (each takes the display state) and no score or value.
bool NothingRan(const BenchResult& result) {
  for (const DisplayState& d : result.display) {
    if (d.width != 0) return false;
  }
  for (const auto* table : {&result.score, &result.value}) {
    for (const auto& row : *table) {
      for (int32_t v : row) {
        if (v != 0) return false;
      }
    }
  }
  return true;
}

}  // namespace

void ReplaceEverywhere(std::string& text, const std::string& word, const std::string& value) {
  if (word.empty()) return;
  // Built anew rather than replaced in place: one pass, however many matches.
  std::string out;
  size_t from = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, from)) {
    out.append(text, from, at - from);
    out += value;
    from = at + word.size();
  }
  if (from == 0) return;
  out.append(text, from, std::string::npos);
  text = std::move(out);
}

std::string MemoryText(const std::string& physicalTotal, const std::string& rankingMemory) {
  const int megabytes = std::atoi(physicalTotal.c_str()) + 1;
  return rankingMemory.empty() ? std::to_string(megabytes) + " MB"
                               : std::to_string(megabytes) + " MB (" + rankingMemory + ")";
}

std::string ReportOsText(const OsIdentity& os) {
  // One blank between the parts there are: an empty edition or service pack leaves none.
  std::string text = os.name;
  for (const std::string* part : {&os.edition, &os.servicePack}) {
    if (!part->empty()) text += (text.empty() ? "" : " ") + *part;
  }
  return text + " [" + os.version + " Build " + os.build + "]";
}

std::string BuildReport(std::string report, ReportForm form, const ReportPages& p,
                        CpuidSource& cpuid) {
  const bool html = form == ReportForm::kHtml;
  // The blocks are made with CR LF; a template written with LF line ends gets LF throughout,
  // one without any line end keeps the blocks as made.
  const bool lineFeedsOnly =
      report.find('\n') != std::string::npos && report.find("\r\n") == std::string::npos;
  const DevicePageData& d = p.device;
  const SystemPageData& s = p.system;
  // Each value is made the first time the template asks for it, and only then: the CPUID dump
  // queries the processor.
  const std::vector<Placeholder> steps = {
      {"%MsrInfo%", [&] { return p.cpu.rawRegisters; }},
      {"%DisplayMode%", [&] { return d.displayMode; }},
      {"%ChipSet%", [&] { return Trimmed(d.chipset); }},
      {"%North%", [&] { return Trimmed(d.north); }},
      {"%South%", [&] { return Trimmed(d.south); }},
      {"%IDEController%", [&] { return Trimmed(d.ideController); }},
      {"%DirectX%", [&] { return Trimmed(d.directX); }},
      // Without a display controller the PCI list names (a virtual machine's, say), the
      // renderer OpenGL reports says what draws.
      {"%Video%",
       [&] {
         const std::string video = Trimmed(d.video);
         return video.empty() ? Trimmed(d.openGlRenderer) : video;
       }},
      {"%VideoProduct%", [&] { return Trimmed(d.videoProduct); }},
      {"%VideoVendor%", [&] { return Trimmed(d.videoVendor); }},
      {"%VideoChip%", [&] { return Trimmed(d.videoChip); }},
      {"%VideoRAM%",
       [&] {
         const std::string ram = Trimmed(d.videoRam);
         return ram.empty() ? ram : ram + " MB";
       }},
      {"%VideoDriverVersion%", [&] { return Trimmed(d.driverVersion); }},
      {"%VideoDriverDate%", [&] { return Trimmed(d.driverDate); }},
      {"%PciList%", kMadeAsHtml,
       [&] {
         BlockVariants b = PciListBlock(p.pci);
         return html ? b.html : b.text;
       }},
      {"%HddList%", kMadeAsHtml,
       [&] {
         BlockVariants b = DiskListBlock(p.disk);
         return html ? b.html : b.text;
       }},
      {"%VERSION%", [&] { return p.title; }},
      {"%OS%", [&] { return ReportOsText(p.os); }},
      {"%Memory%", [&] { return MemoryText(s.physicalTotal, p.ranking.memory); }},
      {"%BIOSVendor%", [&] { return Trimmed(s.biosVendor); }},
      {"%BIOSCaption%", [&] { return Trimmed(s.biosCaption); }},
      {"%BIOSVersion%", [&] { return Trimmed(s.biosVersion); }},
      {"%BIOSDate%", [&] { return Trimmed(s.biosDate); }},
      {"%SMBIOSCaption%", [&] { return Trimmed(s.smbiosCaption); }},
      {"%SMBIOSVersion%", [&] { return Trimmed(s.smbiosVersion); }},
      {"%MotherVendor%", [&] { return Trimmed(s.motherVendor); }},
      {"%MotherProduct%", [&] { return Trimmed(s.motherProduct); }},
      {"%MotherVersion%", [&] { return Trimmed(s.motherVersion); }},
      {"%SystemManufacturer%", [&] { return Trimmed(s.systemVendor); }},
      {"%SystemModel%", [&] { return Trimmed(s.systemModel); }},
      {"%CPUDetail%", kMadeAsHtml,
       [&] {
         BlockVariants b = CpuDetailBlock(p.cpu);
         return html ? b.html : b.text;
       }},
      {"%CPUIDDetail%", kMadeAsHtml,
       [&] {
         const std::string dump = CpuidDumpBlock(cpuid, p.cpu.vendorString);
         return html ? HtmlLineBreaks(HtmlEscaped(dump)) : dump;
       }},
      {"%VeloraResult%",
       [&] {
         if (NothingRan(p.result)) return std::string();
         return ResultTextBlock(p.result, p.markDisplayMode, p.markFontSmoothing,
                                RankingDiskLine(p.ranking));
       }},
      {"%VeloraResultHtml%", kMadeAsHtml,
       [&] { return NothingRan(p.result) ? std::string() : ResultHtmlBlock(p.result); }},
      {"%IdeDetailInfo%", [&] { return DiskDetailDump(p.disk); }},
  };
  // Each value asked for is made now, once: one that is not known takes the parentheses the
  // template puts around it along, from the template only.
  std::vector<Placeholder> made;
  for (const Placeholder& step : steps) {
    if (report.find(step.word) == std::string::npos) continue;
    std::string value = step.make();
    if (value.empty()) DropEmptyParentheses(report, std::string(step.word));
    made.emplace_back(step.word.data(), step.madeAsHtml,
                      [value = std::move(value)] { return value; });
  }
  std::string out = ExpandPlaceholders(report, made, html);
  if (lineFeedsOnly) ReplaceEverywhere(out, "\r\n", "\n");
  return out;
}

}  // namespace velora
