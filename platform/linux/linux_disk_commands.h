#pragma once
// Identification through the kernel's SCSI generic, IDE and NVMe interfaces.

#include "platform/disk_commands.h"

namespace velora {

class LinuxDiskCommands : public DiskCommands {
 public:
  DiskCommandStatus AtaIdentify(const std::string& device, bool packet,
                                IdentifyBlock& block) override;
  DiskCommandStatus IdeIdentity(const std::string& device, IdentifyBlock& block) override;
  DiskCommandStatus NvmeNamespaceId(const std::string& device, uint32_t& nsid) override;
  DiskCommandStatus NvmeIdentify(const std::string& device, uint32_t cns, uint32_t nsid,
                                 NvmeIdentifyData& data) override;
};

}  // namespace velora
