#include "bench/processor_mask.h"

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

namespace velora {

namespace {

struct MaskEntry {
  const char* text;
  uint32_t mask;
  int minimumProcessors;
};

// In list order; the same table maps texts to masks.
constexpr std::array<MaskEntry, 5> kMaskEntries{{
    {"0001", 0x1, 1},
    {"0011", 0x3, 2},
    {"0111", 0x7, 3},
    {"0101", 0x5, 4},
    {"1111", 0xF, 4},
}};

}  // namespace

std::vector<std::string> ProcessorMaskEntries(int processorCount) {
  std::vector<std::string> entries;
  for (const MaskEntry& entry : kMaskEntries) {
    if (processorCount >= entry.minimumProcessors) entries.emplace_back(entry.text);
  }
  return entries;
}

bool ProcessorMaskListEnabledAtStart(int processorCount) {
  return processorCount > 1 && processorCount <= 4;
}

uint32_t ProcessorMaskFromText(const std::string& text) {
  for (const MaskEntry& entry : kMaskEntries) {
    if (text == entry.text) return entry.mask;
  }
  return 0;
}

bool ApplyProcessorMask(uint32_t mask) {
  if (mask == 0) return false;
  cpu_set_t set;
  CPU_ZERO(&set);
  for (int cpu = 0; cpu < 32; ++cpu) {
    if (mask & (1u << cpu)) CPU_SET(cpu, &set);
  }
  // Linux binds threads, not processes: every task of this process gets the mask, and threads
  // created later inherit it from their creator.
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return sched_setaffinity(0, sizeof set, &set) == 0;
  bool allApplied = true;
  while (const dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    const pid_t tid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (sched_setaffinity(tid, sizeof set, &set) != 0) allApplied = false;
  }
  closedir(tasks);
  return allApplied;
}

int ConfiguredProcessorCount() {
  const long count = sysconf(_SC_NPROCESSORS_CONF);
  return count > 0 ? static_cast<int>(count) : 1;
}

}  // namespace velora
