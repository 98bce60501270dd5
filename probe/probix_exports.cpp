// The five exports of libprobix.so. Nothing else leaves the library (see probix.map), and no
// exception crosses this boundary.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/app_paths.h"
#include "platform/linux/linux_clock_source.h"
#include "platform/linux/linux_cpuid_source.h"
#include "platform/linux/linux_directx_sources.h"
#include "platform/linux/linux_driver_link.h"
#include "platform/linux/linux_system_queries.h"
#include "platform/program_folder.h"
#include "probe/smbios/memory_block.h"
#include "probe/probix_object.h"

namespace velora {
namespace {

// One whole line appended to the program's log, where the library says what it refused.
void AppendToProgramLog(const std::string& line) {
  FILE* file = std::fopen(logPath().c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

ProbeEnvironment& LibraryEnvironment() {
  static LinuxDirectXSources directx;
  static std::atomic<int32_t> reportedDriverStatus{kDriverNoDevice};
  static ProbeEnvironment env{ProcessDriverLink(), ProcessClockSource(), directx,
                              reportedDriverStatus, ProcessCpuidSource(),
                              ProcessSystemQueries(), ProgramFolder(),
                              "/sys/firmware/dmi/tables", settingsPath(),
                              AppendToProgramLog};
  return env;
}

}  // namespace
}  // namespace velora

extern "C" {

__attribute__((visibility("default"))) velora::ProbeObject* CreateProbix(uint32_t flags) {
  try {
    return new velora::ProbixObject(velora::LibraryEnvironment(), flags);
  } catch (...) {
    return nullptr;
  }
}

__attribute__((visibility("default"))) velora::ProbeObject* CreateProbixOn(
    uint32_t flags, velora::ProbeEnvironment* services) {
  if (services == nullptr) return nullptr;
  try {
    return new velora::ProbixObject(*services, flags);
  } catch (...) {
    return nullptr;
  }
}

__attribute__((visibility("default"))) void DestroyProbix(velora::ProbeObject* object) {
  delete static_cast<velora::ProbixObject*>(object);
}

__attribute__((visibility("default"))) int32_t ReadMSR(uint32_t index, uint32_t* low,
                                                       uint32_t* high) {
  uint32_t lo = 0, hi = 0;
  bool ok = velora::ProcessDriverLink().ReadMsr(index, lo, hi);
  if (low != nullptr) *low = lo;
  if (high != nullptr) *high = hi;
  return ok ? 1 : 0;
}

__attribute__((visibility("default"))) int32_t WriteMSR(uint32_t index, const uint32_t* low,
                                                        const uint32_t* high) {
  if (low == nullptr || high == nullptr) return 0;
  return velora::ProcessDriverLink().WriteMsr(index, *low, *high) ? 1 : 0;
}

// Element count when exactly count x size bytes were read, else 0.
__attribute__((visibility("default"))) uint32_t _MemReadBlock(uint64_t address, void* buffer,
                                                              uint32_t count, uint32_t size) {
  return velora::ReadMemoryBlock(velora::ProcessDriverLink(), address, buffer, count, size);
}

}  // extern "C"
