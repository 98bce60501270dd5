#include "probe/power/power_commands.h"

#include "probe/cpu/cpu_format.h"
#include "probe/pci/pci_chipset_prepare.h"
#include "probe/power/power_control_types.h"
#include "probe/power/power_permission.h"
#include "probe/probe_id_table.h"

namespace velora {

namespace {

constexpr uint32_t kMsrViaBusControl = 0x1147;
constexpr uint32_t kMsrViaPowerControl = 0x110A;
constexpr uint32_t kMsrK6PowerPorts = 0xC0000086;
constexpr uint32_t kK6PowerPortBase = 0xFFF0;
constexpr uint32_t kK6PowerPort = 0xFFF8;
constexpr uint32_t kMsrAmdFidVidControl = 0xC0010041;
constexpr uint32_t kMsrAmdFidVidStatus = 0xC0010042;
constexpr uint32_t kMsrIntelPerfControl = 0x199;
constexpr int kMaxVoltageSteps = 32;

enum class Outcome {
  Done,
  Stuck,    // this processor did not finish a transition; go on with the next
  Refused,  // a write was refused: the command ends
};

class PowerCommand {
 public:
  PowerCommand(ProbeEnvironment& env, CpuFields& f, uint32_t id) : env_(env), f_(f), id_(id) {}

  void SetFrequency(int32_t v);
  void SetPerformanceControl(int32_t v);
  void SetVoltage(int32_t v);

 private:
  template <typename Work>
  void OnEveryProcessor(Work work);

  void Log(const std::string& text) {
    if (env_.log) env_.log(FormatText("Power control 0x%04X: ", id_) + text);
  }
  bool Write(uint32_t index, uint32_t low, uint32_t high) {
    if (env_.driver.WriteMsr(index, low, high)) return true;
    Log(FormatText("writing MSR 0x%X was refused (kernel lockdown or no permission); "
                   "command stopped", index));
    return false;
  }
  uint32_t ReadLow(uint32_t index, uint32_t* high = nullptr) {
    uint32_t low = 0, h = 0;
    env_.driver.ReadMsr(index, low, h);
    if (high != nullptr) *high = h;
    return low;
  }

  Outcome WriteAmdControl(uint32_t low, uint32_t high, int processor);
  Outcome AmdFrequency(int32_t v, int processor);
  Outcome K7VoltageSteps(int32_t v, int processor);
  Outcome K8VoltageSteps(int32_t v, int processor);
  Outcome IntelPerfControl(uint32_t keepMask, uint32_t field);
  Outcome ViaPowerControl(int32_t v);
  void ViaBusControl(int32_t v);
  void K6Frequency(int32_t v);

  ProbeEnvironment& env_;
  CpuFields& f_;
  uint32_t id_;
};

template <typename Work>
void PowerCommand::OnEveryProcessor(Work work) {
  // The pinning mask has 32 bits; processors past it cannot be reached one by one.
  int32_t processors = f_.processors < 1 ? 1 : (f_.processors > 32 ? 32 : f_.processors);
  for (int32_t i = 1; i <= processors; ++i) {
    if (i >= 2) env_.clock.SleepMs(static_cast<uint32_t>(f_.waitTimeMs));
    env_.cpuid.PinThread(1u << (i - 1));
    Outcome outcome = work(static_cast<int>(i));
    // Always back to the caller's mask: a thread left pinned stays narrowed for good.
    env_.cpuid.RestoreThread();
    if (outcome == Outcome::Refused) return;
    // Both cores of one dual-core K8 share its power state.
    if (f_.powerControlType == kPowerK8 && processors == 2 && f_.coresPerPackage == 2) return;
  }
}

Outcome PowerCommand::WriteAmdControl(uint32_t low, uint32_t high, int processor) {
  if (!Write(kMsrAmdFidVidControl, low, high)) return Outcome::Refused;
  // Bounded: a processor that never clears the pending bit must not hang the caller.
  uint32_t start = env_.clock.MultimediaTimeMs();
  while ((ReadLow(kMsrAmdFidVidStatus) & (1u << 31)) != 0) {
    if (env_.clock.MultimediaTimeMs() - start >= kTransitionWaitLimitMs) {
      Log(FormatText("processor %d still changing after %u ms; left as it is", processor,
                     kTransitionWaitLimitMs));
      return Outcome::Stuck;
    }
    env_.clock.SleepMs(1);
  }
  return Outcome::Done;
}

Outcome PowerCommand::AmdFrequency(int32_t v, int processor) {
  uint32_t low = ReadLow(kMsrAmdFidVidControl);
  low = (low & ~0x3Fu) | (static_cast<uint32_t>(v) & 0x3F) | (1u << 16);
  return WriteAmdControl(low, 2000, processor);
}

Outcome PowerCommand::K7VoltageSteps(int32_t v, int processor) {
  bool tableA = f_.voltageTableA != 0;
  for (int step = 0; step < kMaxVoltageSteps; ++step) {
    uint32_t high = 0;
    ReadLow(kMsrAmdFidVidStatus, &high);
    int32_t k = static_cast<int32_t>(high & 0x1F);
    if (v == k) break;
    int32_t n = v > k ? k + 1 : k - 1;
    // Table B has no code 15: step over it.
    if (!tableA && n == 15) n = v > k ? 16 : 14;
    if (n >= 31 || n < 0) break;
    uint32_t low = ReadLow(kMsrAmdFidVidControl);
    low = (low & ~(0x1Fu << 8) & ~(3u << 16)) | (static_cast<uint32_t>(n) << 8) | (1u << 17);
    Outcome outcome = WriteAmdControl(low, 100, processor);
    if (outcome != Outcome::Done) return outcome;
  }
  return Outcome::Done;
}

Outcome PowerCommand::K8VoltageSteps(int32_t v, int processor) {
  for (int step = 0; step < kMaxVoltageSteps; ++step) {
    uint32_t high = 0;
    uint32_t status = ReadLow(kMsrAmdFidVidStatus, &high);
    int32_t k = static_cast<int32_t>(high & 0x1F);
    uint32_t frequency = status & 0x3F;
    if (v == k) break;
    int32_t n = v > k ? k + 1 : k - 1;
    if (n < 0 || n > 31) break;
    uint32_t low = ReadLow(kMsrAmdFidVidControl);
    low = (low & ~0x3Fu & ~(0x1Fu << 8)) | frequency | (static_cast<uint32_t>(n) << 8) | (1u << 16);
    Outcome outcome = WriteAmdControl(low, 22, processor);
    if (outcome != Outcome::Done) return outcome;
  }
  return Outcome::Done;
}

Outcome PowerCommand::IntelPerfControl(uint32_t keepMask, uint32_t field) {
  uint32_t high = 0;
  uint32_t low = ReadLow(kMsrIntelPerfControl, &high);
  return Write(kMsrIntelPerfControl, (low & keepMask) | field, high) ? Outcome::Done
                                                                     : Outcome::Refused;
}

void PowerCommand::ViaBusControl(int32_t v) {
  uint32_t high = 0;
  uint32_t low = ReadLow(kMsrViaBusControl, &high);
  low = (low & ~(0xFu << 23)) | ((static_cast<uint32_t>(v) & 0xF) << 23) | (1u << 19);
  if (!Write(kMsrViaBusControl, low, high)) return;
  env_.driver.Halt();
  low = ReadLow(kMsrViaBusControl, &high);
  Write(kMsrViaBusControl, low & ~(1u << 19), high);
}

Outcome PowerCommand::ViaPowerControl(int32_t v) {
  uint32_t high = 0;
  uint32_t low = ReadLow(kMsrViaPowerControl, &high);
  uint32_t ratio = static_cast<uint32_t>(v);
  low = (low & ~(0xFu << 16) & ~(1u << 14)) | ((ratio & 0xF) << 16) | (((ratio >> 4) & 1) << 14) |
        (1u << 8);
  if (!Write(kMsrViaPowerControl, low, high)) return Outcome::Refused;
  env_.driver.Halt();
  low = ReadLow(kMsrViaPowerControl, &high);
  return Write(kMsrViaPowerControl, low & ~(1u << 8), high) ? Outcome::Done : Outcome::Refused;
}

void PowerCommand::K6Frequency(int32_t v) {
  if (!Write(kMsrK6PowerPorts, kK6PowerPortBase | 1, 0)) return;
  uint32_t port = env_.driver.ReadPort32(kK6PowerPort);
  env_.driver.WritePort32(kK6PowerPort, (port & 0xF) | ((static_cast<uint32_t>(v) | 0xB0) << 5));
  Write(kMsrK6PowerPorts, kK6PowerPortBase, 0);
}

void PowerCommand::SetFrequency(int32_t v) {
  switch (f_.powerControlType) {
    case kPowerViaBusControl: ViaBusControl(v); return;
    case kPowerViaPowerControl: OnEveryProcessor([&](int) { return ViaPowerControl(v); }); return;
    case kPowerK6: K6Frequency(v); return;
    case kPowerK7:
      PrepareChipsetK7(env_.driver);
      OnEveryProcessor([&](int cpu) { return AmdFrequency(v, cpu); });
      return;
    case kPowerK8:
      PrepareChipsetK8(env_.driver);
      OnEveryProcessor([&](int cpu) { return AmdFrequency(v, cpu); });
      return;
    case kPowerPentiumM:
    case kPowerPentium4: {
      uint32_t field = (static_cast<uint32_t>(v + 6) & 0xFF) << 8;
      OnEveryProcessor([&](int) { return IntelPerfControl(~0xFF00u, field); });
      return;
    }
    default: return;
  }
}

void PowerCommand::SetPerformanceControl(int32_t v) {
  if (f_.powerControlType != kPowerPentiumM && f_.powerControlType != kPowerPentium4) return;
  uint32_t field = static_cast<uint32_t>(v) & 0xFFFF;
  OnEveryProcessor([&](int) { return IntelPerfControl(~0xFFFFu, field); });
}

void PowerCommand::SetVoltage(int32_t v) {
  switch (f_.powerControlType) {
    case kPowerK7:
      PrepareChipsetK7(env_.driver);
      if ((v == 15 && !f_.voltageTableA) || v == 31) {
        Log(FormatText("voltage code %d is not one of the table's", v));
        return;
      }
      OnEveryProcessor([&](int cpu) { return K7VoltageSteps(v, cpu); });
      return;
    case kPowerK8:
      PrepareChipsetK8(env_.driver);
      OnEveryProcessor([&](int cpu) { return K8VoltageSteps(v, cpu); });
      return;
    case kPowerPentiumM:
    case kPowerPentium4: {
      uint32_t field = static_cast<uint32_t>(v) & 0xFF;
      OnEveryProcessor([&](int) { return IntelPerfControl(~0xFFu, field); });
      return;
    }
    default: return;
  }
}

bool IsPowerCommand(uint32_t id) {
  return id == probe_id::kPowerClearScratch || id == probe_id::kPowerSetFrequencyCode ||
         id == probe_id::kPowerSetPerformanceControl || id == probe_id::kPowerSetVoltageCode ||
         id == probe_id::kPowerAllowVoltageCode15;
}

}  // namespace

void RunPowerCommand(ProbeEnvironment& env, CpuFields& f, uint32_t id, int32_t value) {
  if (!IsPowerCommand(id)) return;
  auto log = [&](const std::string& text) {
    if (env.log) env.log(FormatText("Power control 0x%04X: ", id) + text);
  };
  if (!PowerControlAllowed(env.settingsFile)) {
    log("refused: AllowPowerControl=1 is not set in section [Setting] of the settings file");
    return;
  }
  if (id == probe_id::kPowerClearScratch) {
    ClearChipsetPreparedFlags();
    return;
  }
  if (id == probe_id::kPowerAllowVoltageCode15) {
    f.voltageTableA = 1;
    return;
  }
  if (f.powerControlType == kPowerNone) return;
  if (env.driver.Status() != kDriverOpen) {
    log("not run: no MSR driver is open");
    return;
  }
  PowerCommand command(env, f, id);
  switch (id) {
    case probe_id::kPowerSetFrequencyCode: command.SetFrequency(value); break;
    case probe_id::kPowerSetPerformanceControl: command.SetPerformanceControl(value); break;
    case probe_id::kPowerSetVoltageCode: command.SetVoltage(value); break;
    default: break;
  }
}

}  // namespace velora
