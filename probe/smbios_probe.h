#pragma once
// BIOS, base board and processor socket from the SMBIOS tables: ids 0x6000 to 0x6FFD.

#include <cstdint>
#include <string>

#include "probe/probe_environment.h"

namespace velora {

class SmbiosProbe {
 public:
  // Reads the tables at once.
  explicit SmbiosProbe(ProbeEnvironment& env);
  virtual ~SmbiosProbe() = default;
  SmbiosProbe(const SmbiosProbe&) = delete;
  SmbiosProbe& operator=(const SmbiosProbe&) = delete;

  virtual int32_t GetString(uint32_t id, std::string& text);
  virtual int32_t GetInt(uint32_t id, int32_t& value);

 protected:
  ProbeEnvironment& env_;
};

}  // namespace velora
