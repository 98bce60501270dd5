#pragma once
// The blocks a report composes itself, each in a text and an HTML variant where it has both.
// Line ends are CR LF whatever the platform writes.

#include <string>

#include "bench/bench_result.h"
#include "info/cpu_page_data.h"
#include "info/disk_page_data.h"
#include "info/pci_page_data.h"
#include "platform/cpuid_source.h"
#include "ranking/ranking_form.h"
#include "core/html_text.h"

namespace velora {

struct BlockVariants {
  std::string text;
  std::string html;
};

// The PCI page's rows: a register table and a name table.
BlockVariants PciListBlock(const PciPageData& pci);
// The Disk page's identified devices: type, size, model, buffer and mode.
BlockVariants DiskListBlock(const DiskPageData& disk);
// The CPU page's identification, features, clocks and (text only) multiplier and caches.
BlockVariants CpuDetailBlock(const CpuPageData& cpu);
// Every standard and extended leaf the processor reports, queried on the calling thread.
std::string CpuidDumpBlock(CpuidSource& cpuid, const std::string& vendorString);
// The Ranking form's disk line with its CR LF, or empty when the form does not name a disk.
std::string RankingDiskLine(const RankingForm& form);
// The result record as an HTML table.
std::string ResultHtmlBlock(const BenchResult& result);
// Every identified device's model, size and raw IDENTIFY words.
std::string DiskDetailDump(const DiskPageData& disk);

// Removes every CR and LF at the end.
void TrimLineEnds(std::string& text);
// printf into a string; formats here are all short.
std::string Printed(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velora
