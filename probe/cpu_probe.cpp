#include "probe/cpu_probe.h"

namespace velora {

CpuProbe::CpuProbe(ProbeEnvironment& env, uint32_t mask, int32_t mode) : env_(env) {
  Identify(mask, mode);
}

void CpuProbe::Identify(uint32_t mask, int32_t mode) {
  ++identifyCount_;
  selectionMask_ = mask;
  measurementMode_ = mode;
  driverLess_ = env_.driver.Status() != kDriverOpen;
  if (driverLess_) env_.reportedDriverStatus.store(kDriverNoDeviceAtIdentify);
}

int32_t CpuProbe::GetString(uint32_t, std::string& text) {
  text.clear();
  return -1;
}

int32_t CpuProbe::GetInt(uint32_t, int32_t& value) {
  value = -1;
  return -1;
}

int32_t CpuProbe::Set(uint32_t, int32_t) { return 0; }

}  // namespace velora
