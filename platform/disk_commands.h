#pragma once
// Identification commands sent to a disk through its device node. Every device is opened
// read-only and only asked to describe itself: nothing is ever written to a disk.

#include <array>
#include <cstdint>
#include <string>

namespace velora {

enum class DiskCommandStatus {
  kDone,
  kCannotOpen,   // no such node, or it would not open
  kNoPrivilege,  // the node or the command needs root (or CAP_SYS_RAWIO / CAP_SYS_ADMIN)
  kRefused,      // the device or its driver does not answer this command
};

using IdentifyBlock = std::array<uint8_t, 512>;
using NvmeIdentifyData = std::array<uint8_t, 4096>;

class DiskCommands {
 public:
  virtual ~DiskCommands() = default;

  // IDENTIFY DEVICE (0xEC), or IDENTIFY PACKET DEVICE (0xA1) for a packet device, through an
  // ATA PASS-THROUGH (16) command of the SCSI generic interface.
  virtual DiskCommandStatus AtaIdentify(const std::string& device, bool packet,
                                        IdentifyBlock& block) = 0;
  // The IDENTIFY block the old IDE driver kept from its own probe.
  virtual DiskCommandStatus IdeIdentity(const std::string& device, IdentifyBlock& block) = 0;
  // The namespace id of an NVMe namespace's block device.
  virtual DiskCommandStatus NvmeNamespaceId(const std::string& device, uint32_t& nsid) = 0;
  // NVMe Identify: cns 1 the controller (nsid 0), cns 0 the namespace nsid.
  virtual DiskCommandStatus NvmeIdentify(const std::string& device, uint32_t cns, uint32_t nsid,
                                         NvmeIdentifyData& data) = 0;
};

}  // namespace velora
