#include "probe/cpu/cpu_probe.h"

#include <bit>

#include "probe/cache/cache_decode.h"
#include "probe/cpu/cpu_answers.h"
#include "probe/clock/cpu_clock_measure.h"
#include "probe/clock/cpu_clock_registers.h"
#include "probe/clock/cpu_clock_today.h"
#include "probe/clock/cpu_clock_wait_time.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_identity_text.h"
#include "probe/cpu/cpu_leaves.h"
#include "probe/cpu/cpu_naming.h"
#include "probe/cpu/cpu_revision.h"
#include "probe/cpu/cpu_topology.h"
#include "probe/cpu/cpu_topology_walk.h"
#include "probe/power/power_commands.h"
#include "probe/power/power_refresh.h"
#include "probe/probe_id_table.h"

namespace velora {

CpuProbe::CpuProbe(ProbeEnvironment& env, uint32_t mask, int32_t mode) : env_(env) {
  Identify(mask, mode);
}

void CpuProbe::Identify(uint32_t mask, int32_t mode) {
  ++identifyCount_;
  selectionMask_ = mask;
  measurementMode_ = mode;
  // Every CPUID of this identification must run on the selected processor.
  env_.cpuid.PinThread(mask);
  IdentifyPinned();
  env_.cpuid.RestoreThread();
  CountHybridCores();
}

void CpuProbe::CountHybridCores() {
  CpuFields& f = fields_;
  if (!f.cpuidAvailable || !IsHybrid(f) || !IsProcessorOfToday(f)) return;
  int32_t cores = CountCoresByWalking(env_.cpuid, f.highestStandardLeaf, f.processors,
                                      std::countr_zero(selectionMask_));
  if (cores <= 0) return;
  f.coresPerPackage = cores;
  f.multiCore = cores >= 2 ? 1 : 0;
}

void CpuProbe::IdentifyPinned() {
  fields_ = CpuFields{};
  fields_.voltageTableA = voltageTableA_;
  fields_.selectionMask = selectionMask_;
  driverLess_ = env_.driver.Status() != kDriverOpen;
  if (driverLess_) env_.reportedDriverStatus.store(kDriverNoDeviceAtIdentify);
  fields_.waitTimeMs = ReadWaitTimeMs(env_.settingsFile);

  int32_t processors = env_.system.OnlineProcessorCount();
  if (processors > 0) fields_.processors = processors;
  fields_.architecture = ArchitectureText(env_.system.MachineName());

  if (!env_.cpuid.Available() || !AnswersLeafZero(env_.cpuid)) return;
  fields_.cpuidAvailable = 1;
  DecodeIdentificationLeaves(env_.cpuid, fields_);
  DecodeCaches(env_.cpuid, fields_);
  DecodeBrandString(env_.cpuid, fields_);
  ApplyPublishedCoreCount(fields_);
  DecodeAmdPowerLeaf(env_.cpuid, fields_);
  if (fields_.vendorCode == kVendorTransmeta) DecodeTransmetaLeaves(env_.cpuid, fields_);
  NameProcessor();
  MeasureClocks(measurementMode_);
  DecodePowerManagement(fields_);
}

void CpuProbe::MeasureClocks(int32_t mode) {
  CpuFields& f = fields_;
  if (f.timeStampCounter) {
    ClockMeasureOptions options{mode, f.warmUpNeeded != 0, driverLess_};
    f.coreClock = MeasureCoreClock(env_.clock, options, f.clockMethod);
  }
  if (f.msrPresent) {
    ReadClockRegisters(env_.driver, f);
    // Some names depend on the multiplier and the bus the registers gave.
    NameProcessor();
  } else {
    ApplyRatedClockOfToday(f);
    ApplyOverclockPercent(f);
  }
}

void CpuProbe::Remeasure(int32_t mode, bool measure) {
  if (!fields_.cpuidAvailable) return;
  // The same processor as the identification: the counter and the MSRs are per processor.
  env_.cpuid.PinThread(selectionMask_);
  if (measure && fields_.timeStampCounter) {
    ClockMeasureOptions options{mode, fields_.warmUpNeeded != 0, driverLess_};
    fields_.coreClock = MeasureCoreClock(env_.clock, options, fields_.clockMethod);
  }
  if (fields_.msrPresent) {
    ReadClockRegisters(env_.driver, fields_);
  } else {
    ApplyOverclockPercent(fields_);
  }
  env_.cpuid.RestoreThread();
}

void CpuProbe::NameProcessor() {
  CpuFields& f = fields_;
  if (IsProcessorOfToday(f)) {
    NameProcessorOfToday(f);
  } else {
    switch (f.vendorCode) {
      case kVendorIntel: ApplyCoreRevision(RevisionTable::Intel, f); break;
      case kVendorAmd:
        ApplyCoreRevision(RevisionTable::Amd, f);
        if (f.family == 15) ApplyModelNumberSuffix(f);
        break;
      case kVendorCyrix:
      case kVendorIdt: ApplyCoreRevision(RevisionTable::CyrixIdt, f); break;
      default: break;
    }
    NameClassicProcessor(f, env_.system);
  }
  SplitProcessorName(f);
}

int32_t CpuProbe::GetString(uint32_t id, std::string& text) {
  switch (id) {
    case probe_id::kCpuRemeasureCoreClock: Remeasure(0, true); break;
    case probe_id::kCpuRereadMultiplier: Remeasure(0, false); break;
    default:
      // The four ids after the re-read measure again with modes 1 to 4.
      if (id > probe_id::kCpuRereadMultiplier && id <= probe_id::kCpuRereadMultiplier + 4) {
        Remeasure(static_cast<int32_t>(id - probe_id::kCpuRereadMultiplier), true);
      }
      break;
  }
  return CpuTextAnswer(fields_, id, text);
}

int32_t CpuProbe::GetInt(uint32_t id, int32_t& value) {
  if (id == probe_id::kPowerRefresh) {
    // The registers are per processor: read those of the one identified.
    env_.cpuid.PinThread(selectionMask_);
    RefreshPowerState(env_.driver, fields_);
    env_.cpuid.RestoreThread();
    return 0;
  }
  if (id == probe_id::kTransmetaReread) {
    DecodeTransmetaLeaves(env_.cpuid, fields_);
    value = 0;
    return 0;
  }
  return CpuIntAnswer(fields_, id, value);
}

int32_t CpuProbe::Set(uint32_t id, int32_t value) {
  RunPowerCommand(env_, fields_, id, value);
  voltageTableA_ = fields_.voltageTableA;
  return 0;
}

}  // namespace velora
