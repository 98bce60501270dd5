#pragma once
// The Result dialog as data: its eleven bars and fifteen texts from the result record, the
// Ranking form and the inventory pages.

#include <array>
#include <cstdint>
#include <string>

#include "bench/bench_result.h"
#include "ranking/ranking_form.h"

namespace velora {

struct SummaryBar {
  int32_t value = 0;
  int32_t maximum = 20000;
  std::string text;    // the number unless a rule gives another text
  int fontSize = 240;  // tenths of a point
  bool hidden = false;
};

struct ResultSummary {
  // By test id: 0 "Mark", 5 the memory average, 10 the disk average, 8 hidden.
  std::array<SummaryBar, kTestRows> bars;
  bool active = false;  // active colours for a full run, grey otherwise
  std::string os, cpu, clockLine, chipSet, mother, video, videoMb, memory, memoryMb;
  std::string diskLabel, disk, diskGb, displayMode, fontSmoothing, directX;
};

struct SummaryInputs {
  BenchResult result;
  RankingForm form;
  std::string osName, servicePack;  // as the System page shows them
  std::string processorCount;       // the CPU page's
  std::string directX;              // the Device page's
};

ResultSummary BuildResultSummary(const SummaryInputs& in);

// "%.2f MB/s" of the mean of MEM's first three values (hundredths of MB/s), its bar value that
// text read back x 10; maximum 40000.
SummaryBar MemoryAverageBar(const BenchResult& result);
// "%.2f MB/s" of (HDD value 0 + value 1) x 0.005, its bar value that text read back x 100.
SummaryBar DiskAverageBar(const BenchResult& result);

}  // namespace velora
