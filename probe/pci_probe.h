#pragma once
// Chipset, video and the PCI device table: ids 0x2000 to 0x2FFD and 0x5000 to 0x5FFD.

#include <cstdint>
#include <string>

#include "probe/probe_environment.h"

namespace velora {

class PciProbe {
 public:
  // Scans the bus at once (nothing when the driver link is not open).
  explicit PciProbe(ProbeEnvironment& env);
  virtual ~PciProbe() = default;
  PciProbe(const PciProbe&) = delete;
  PciProbe& operator=(const PciProbe&) = delete;

  virtual int32_t GetString(uint32_t id, std::string& text);
  virtual int32_t GetInt(uint32_t id, int32_t& value);

 protected:
  ProbeEnvironment& env_;
};

}  // namespace velora
