#pragma once
// Everything a report reads, taken from the pages at one moment: the window's pages or what
// `velora report` assembles without a window.

#include <string>

#include "bench/bench_result.h"
#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/os_identity.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "ranking/ranking_form.h"

namespace velora {

enum class ReportForm { kText, kHtml };

struct ReportPages {
  SystemPageData system;
  CpuPageData cpu;
  DevicePageData device;
  PciPageData pci;
  DiskPageData disk;
  BenchResult result;
  // The Mark page's Display Mode and Font Smoothing boxes.
  std::string markDisplayMode, markFontSmoothing;
  RankingForm ranking;
  OsIdentity os;
  std::string title;  // the main window's base title, "Velora 0.9.115.275"
};

}  // namespace velora
