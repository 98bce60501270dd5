#pragma once
// The driver link over Linux's own interfaces: sysfs PCI configuration files, /dev/cpu/N/msr,
// /dev/mem and ioperm. Paths come from a root prefix so a recorded tree can stand in.

#include <map>
#include <mutex>
#include <string>

#include "platform/driver_link.h"

namespace velora {

struct LinuxDriverPaths {
  std::string sysRoot = "/sys";
  std::string devRoot = "/dev";
};

class LinuxDriverLink : public DriverLink {
 public:
  explicit LinuxDriverLink(LinuxDriverPaths paths = {});
  ~LinuxDriverLink() override = default;

  int32_t Status() const override { return status_; }
  bool ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) override;
  bool WriteMsr(uint32_t index, uint32_t low, uint32_t high) override;
  void Halt() override {}  // HLT is not available to user space.
  uint32_t ReadPort32(uint32_t port) override;
  void WritePort32(uint32_t port, uint32_t value) override;
  uint32_t ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                         size_t count) override;
  uint32_t WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                          size_t count) override;
  size_t ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) override;

  size_t PresentFunctionCount() const { return functions_.size(); }

 private:
  void ListPciFunctions();
  std::string MsrDevicePath() const;
  void LoadMsrModuleOnce();
  bool EnablePort(uint32_t port);

  LinuxDriverPaths paths_;
  int32_t status_ = kDriverNoDevice;
  // Listed once: opening all 65,536 possible paths blindly costs about half a second.
  std::map<PciAddress, std::string> functions_;
  std::once_flag msrModuleOnce_;
};

// The process-wide link, set up on first use and kept until the library is unloaded.
DriverLink& ProcessDriverLink();

}  // namespace velora
