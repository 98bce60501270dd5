#include "probe/pci_probe.h"

namespace velora {

PciProbe::PciProbe(ProbeEnvironment& env) : env_(env) {}

int32_t PciProbe::GetString(uint32_t, std::string& text) {
  text.clear();
  return -1;
}

int32_t PciProbe::GetInt(uint32_t, int32_t& value) {
  value = -1;
  return -1;
}

}  // namespace velora
