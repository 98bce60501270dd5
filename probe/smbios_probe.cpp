#include "probe/smbios_probe.h"

namespace velora {

SmbiosProbe::SmbiosProbe(ProbeEnvironment& env) : env_(env) {}

int32_t SmbiosProbe::GetString(uint32_t, std::string& text) {
  text.clear();
  return -1;
}

int32_t SmbiosProbe::GetInt(uint32_t, int32_t& value) {
  value = -1;
  return -1;
}

}  // namespace velora
