#pragma once
// A driver link fed from recorded inputs: PCI functions with their configuration bytes, an
// MSR map, a physical-memory image and a port map. Every call is counted so tests can tell
// whether the hardware was touched.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/driver_link.h"

namespace velora {

class FakeDriverLink : public DriverLink {
 public:
  int32_t status = kDriverOpen;

  // Configuration bytes of present functions; reads past the recorded bytes fail with EIO,
  // as an ordinary user's reads past byte 64 do.
  std::map<PciAddress, std::vector<uint8_t>> pciConfig;
  // Forced result of every read of one function (kPciErrorAbort, an errno, ...).
  std::map<PciAddress, uint32_t> pciReadErrors;
  std::map<uint32_t, uint64_t> msrs;
  std::map<uint32_t, uint32_t> ports;

  uint64_t memoryBase = 0;
  std::vector<uint8_t> memory;
  // Caps the bytes one physical read returns, to model a short read.
  size_t memoryReadLimit = SIZE_MAX;

  // As under kernel lockdown: every MSR write fails and changes nothing.
  bool refuseMsrWrites = false;
  // Called after each accepted MSR write, for a test that models how the processor answers.
  std::function<void(uint32_t index, uint64_t value)> onMsrWrite;

  int pciReads = 0;
  int haltCount = 0;
  std::vector<std::pair<uint32_t, uint64_t>> msrWrites;

  int32_t Status() const override { return status; }
  bool ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) override;
  bool WriteMsr(uint32_t index, uint32_t low, uint32_t high) override;
  void Halt() override { ++haltCount; }
  uint32_t ReadPort32(uint32_t port) override;
  void WritePort32(uint32_t port, uint32_t value) override { ports[port] = value; }
  uint32_t ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                         size_t count) override;
  uint32_t WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                          size_t count) override;
  size_t ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) override;

  // Adds a function with a 64-byte header holding the given ids, class and header type.
  void AddFunction(PciAddress address, uint16_t vendor, uint16_t device, uint32_t classCode,
                   uint8_t headerType = 0, uint8_t revision = 0);

  // Loads the functions of an `lspci -x` style dump ("BB:DD.F ..." or "DDDD:BB:DD.F ..."
  // lines followed by "00: xx xx ..." rows); functions outside domain 0 are skipped.
  // Returns the number of functions loaded, or -1 when the file cannot be read.
  int LoadLspciDump(const std::string& path);
};

}  // namespace velora
