#pragma once
// The driver link of a recorded machine: PCI configuration spaces and the SMBIOS tables from
// the recording, nothing else. MSRs and ports were not recorded and fail; writes are refused.
// Open, as the live link is, when at least one configuration space was recorded.

#include <map>
#include <optional>
#include <vector>

#include "platform/driver_link.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"

namespace velora {

class ReplayDriverLink : public DriverLink {
 public:
  ReplayDriverLink(std::vector<RecordedPciFunction> functions,
                   std::optional<SmbiosRecording> smbios);

  int32_t Status() const override;
  bool ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) override;
  bool WriteMsr(uint32_t index, uint32_t low, uint32_t high) override;
  void Halt() override {}
  uint32_t ReadPort32(uint32_t port) override;
  void WritePort32(uint32_t port, uint32_t value) override;
  // Domain 0 only, as the live link; reads past what was recorded fail as the live link's
  // short reads do.
  uint32_t ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                         size_t count) override;
  uint32_t WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                          size_t count) override;
  // The entry point inside the 0xF0000 segment and the table at its address; elsewhere nothing.
  size_t ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) override;

 private:
  // A stretch of physical memory; past the recorded bytes, zeros up to length.
  struct MemoryRegion {
    uint64_t address = 0;
    uint64_t length = 0;
    std::vector<uint8_t> bytes;
  };
  void MapSmbios(SmbiosRecording smbios);

  std::vector<RecordedPciFunction> functions_;
  std::map<PciAddress, size_t> domainZero_;  // the first recorded of each address
  std::vector<MemoryRegion> memory_;
};

}  // namespace velora
