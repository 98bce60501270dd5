#pragma once
// BIOS, base board and processor socket from the SMBIOS tables: ids 0x6000 to 0x6FFD.

#include <cstdint>
#include <string>
#include <vector>

#include "probe/probe_environment.h"
#include "probe/smbios/smbios_table.h"

namespace velora {

class SmbiosProbe {
 public:
  // Reads the tables at once: from physical memory through the driver link, else from the
  // files the firmware-tables folder holds.
  explicit SmbiosProbe(ProbeEnvironment& env);
  virtual ~SmbiosProbe() = default;
  SmbiosProbe(const SmbiosProbe&) = delete;
  SmbiosProbe& operator=(const SmbiosProbe&) = delete;

  virtual int32_t GetString(uint32_t id, std::string& text);
  virtual int32_t GetInt(uint32_t id, int32_t& value);

 protected:
  ProbeEnvironment& env_;

 private:
  void Read();
  bool ReadTable(bool fromMemory, uint64_t address, uint32_t length, std::vector<uint8_t>& table);

  int32_t found_ = 0;
  std::string version_;
  SmbiosTexts texts_;
};

}  // namespace velora
