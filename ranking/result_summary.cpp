#include "ranking/result_summary.h"

#include <cstdio>
#include <cstdlib>

namespace velora {

namespace {

std::string RateText(double megabytes) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f MB/s", megabytes);
  return text;
}

std::string WithoutLeadingBlanks(const std::string& text) {
  const size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

SummaryBar MemoryAverageBar(const BenchResult& result) {
  const auto& v = result.value[kTestMem];
  const double x = (static_cast<double>(v[0]) + v[1] + v[2]) / 300;
  SummaryBar bar;
  bar.text = RateText(x);
  bar.value = static_cast<int32_t>(std::atof(bar.text.c_str()) * 10);
  bar.maximum = 40000;
  bar.fontSize = 190;
  return bar;
}

SummaryBar DiskAverageBar(const BenchResult& result) {
  const auto& v = result.value[kTestHdd];
  const double x = (static_cast<double>(v[0]) + v[1]) * 0.005;
  SummaryBar bar;
  bar.text = RateText(x);
  bar.value = static_cast<int32_t>(std::atof(bar.text.c_str()) * 100);
  bar.maximum = 20000;
  bar.fontSize = 190;
  return bar;
}

ResultSummary BuildResultSummary(const SummaryInputs& in) {
  ResultSummary s;
  const RankingForm& f = in.form;
  s.os = WithoutLeadingBlanks(in.osName + in.servicePack);
  s.cpu = f.cpuName;
  char line[1024];
  if (!f.systemClock.empty() && !f.multiplier.empty()) {
    std::snprintf(line, sizeof line, "%s MHz x %s (%sx%s)", f.clock.c_str(),
                  in.processorCount.c_str(), f.systemClock.c_str(), f.multiplier.c_str());
  } else {
    std::snprintf(line, sizeof line, "%s MHz x %s", f.clock.c_str(), in.processorCount.c_str());
  }
  s.clockLine = line;
  if (in.result.fullRun == 1) s.clockLine += " [ " + in.result.runSettings.processorMask + " ]";
  s.chipSet = f.chipSet;
  s.mother = f.motherBoard;
  s.video = f.video;
  s.videoMb = f.videoMemory;
  s.memory = f.memory;
  s.memoryMb = f.memorySize;
  const bool raid = f.raid == 1;
  s.diskLabel = raid ? "RAID" : "HDD";
  s.disk = raid ? f.raidController : f.disk;
  s.diskGb = raid ? f.raidSize : f.diskSize;
  s.displayMode = in.result.runSettings.displayMode;
  s.fontSmoothing = in.result.runSettings.fontSmoothing;
  s.directX = in.directX;

  s.active = in.result.fullRun == 1;
  for (int t = 0; t < kTestRows; ++t) {
    SummaryBar& bar = s.bars[static_cast<size_t>(t)];
    bar.value = in.result.score[0][static_cast<size_t>(t)];
    bar.text = std::to_string(bar.value);
    if (t == kTestOverall) {
      bar.maximum = 100000;
    } else {
      bar.maximum = 20000;
      bar.fontSize = 190;
    }
  }
  s.bars[kTestD3d].hidden = true;
  s.bars[kTestMmt] = MemoryAverageBar(in.result);
  s.bars[kTestNet] = DiskAverageBar(in.result);
  return s;
}

}  // namespace velora
