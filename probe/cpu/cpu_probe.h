#pragma once
// The processor half of the probe: identification under a logical-processor mask and the
// answers for ids 0x1000 to 0x1FFD.

#include <cstdint>
#include <string>

#include "probe/cpu/cpu_fields.h"
#include "probe/probe_environment.h"

namespace velora {

class CpuProbe {
 public:
  // Identifies the processor at once.
  CpuProbe(ProbeEnvironment& env, uint32_t mask, int32_t mode);
  virtual ~CpuProbe() = default;
  CpuProbe(const CpuProbe&) = delete;
  CpuProbe& operator=(const CpuProbe&) = delete;

  // Runs the whole identification again under the affinity mask; mode picks the clock
  // measurement variant.
  virtual void Identify(uint32_t mask, int32_t mode);

  // 0, or -1 for an id without a value (text left empty, integer -1).
  virtual int32_t GetString(uint32_t id, std::string& text);
  virtual int32_t GetInt(uint32_t id, int32_t& value);
  // Power-state commands; always 0.
  virtual int32_t Set(uint32_t id, int32_t value);

  uint32_t SelectionMask() const { return selectionMask_; }
  int32_t MeasurementMode() const { return measurementMode_; }
  bool DriverLess() const { return driverLess_; }
  int IdentifyCount() const { return identifyCount_; }
  const CpuFields& Fields() const { return fields_; }

 protected:
  // Names the processor with the tables of its era and splits the name.
  virtual void NameProcessor();

  ProbeEnvironment& env_;
  CpuFields fields_;

 private:
  void IdentifyPinned();
  // A hybrid's cores, read on every logical processor in turn; runs unpinned, since each read
  // pins the thread itself. Without an answer the published count stays.
  void CountHybridCores();
  // Identify steps 10 and 11: the measured core clock, then the clock registers.
  void MeasureClocks(int32_t mode);
  // The re-measuring ids: measure again with mode (when measure is set and a time-stamp
  // counter is present), then read the clock registers again.
  void Remeasure(int32_t mode, bool measure);

  uint32_t selectionMask_ = 0;
  int32_t measurementMode_ = 0;
  bool driverLess_ = false;
  int identifyCount_ = 0;
  // Raised by command 0x1228; outlives every identification, as only a new object clears it.
  int32_t voltageTableA_ = 0;
};

}  // namespace velora
