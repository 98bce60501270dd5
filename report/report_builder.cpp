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
  return os.name + " " + os.edition + " " + os.servicePack + " [" + os.version + " Build " +
         os.build + "]";
}

std::string BuildReport(std::string report, ReportForm form, const ReportPages& p,
                        CpuidSource& cpuid) {
  const bool html = form == ReportForm::kHtml;
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
      {"%Video%", [&] { return Trimmed(d.video); }},
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
         return ResultTextBlock(p.result, p.markDisplayMode, p.markFontSmoothing,
                                RankingDiskLine(p.ranking));
       }},
      {"%VeloraResultHtml%", kMadeAsHtml, [&] { return ResultHtmlBlock(p.result); }},
      {"%IdeDetailInfo%", [&] { return DiskDetailDump(p.disk); }},
  };
  return ExpandPlaceholders(report, steps, html);
}

}  // namespace velora
