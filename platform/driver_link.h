#pragma once
// The probe library's only road to privileged hardware: MSRs, HLT, 32-bit ports, PCI
// configuration space and physical memory. One instance per process on the real system;
// tests pass a FakeDriverLink.

#include <cstddef>
#include <cstdint>

namespace velora {

// bus << 8 | device << 3 | function
using PciAddress = uint32_t;

constexpr PciAddress MakePciAddress(uint32_t bus, uint32_t device, uint32_t function) {
  return (bus & 0xFF) << 8 | (device & 0x1F) << 3 | (function & 7);
}
constexpr uint32_t PciBus(PciAddress a) { return (a >> 8) & 0xFF; }
constexpr uint32_t PciDevice(PciAddress a) { return (a >> 3) & 0x1F; }
constexpr uint32_t PciFunction(PciAddress a) { return a & 7; }

// Driver status values, answered by the probe object as id 16.
enum DriverStatusCode : int32_t {
  kDriverOpen = 0,
  kDriverStartFailed = 1,
  kDriverNoDevice = 3,
  kDriverNoDeviceAtIdentify = 4,
};

// Error codes of a configuration read. A walk ends at once on the first; on the second
// the addressed device is absent and a walk at function 0 skips the whole device.
constexpr uint32_t kPciErrorAbort = 0xE0000001u;
constexpr uint32_t kPciErrorDeviceAbsent = 0xE0000002u;

class DriverLink {
 public:
  virtual ~DriverLink() = default;

  virtual int32_t Status() const = 0;

  // Both halves are 0 after a failed read.
  virtual bool ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) = 0;
  virtual bool WriteMsr(uint32_t index, uint32_t low, uint32_t high) = 0;

  virtual void Halt() = 0;

  // 0 when the read fails.
  virtual uint32_t ReadPort32(uint32_t port) = 0;
  virtual void WritePort32(uint32_t port, uint32_t value) = 0;

  // 0, or the error code of the failing call (kPciError* or an errno value).
  virtual uint32_t ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                                 size_t count) = 0;
  virtual uint32_t WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                                  size_t count) = 0;

  // Number of bytes actually read from physical memory at address.
  virtual size_t ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) = 0;
};

}  // namespace velora
