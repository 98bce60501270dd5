#pragma once
// Disk identification answered from recorded blocks, by the device's name ("sda", "nvme0n1"),
// whatever folder the node is asked under. A disk without a recorded block refuses, as a drive
// that does not answer.

#include <map>
#include <optional>
#include <string>

#include "platform/disk_commands.h"

namespace velora {

struct RecordedNvme {
  uint32_t namespaceId = 1;
  NvmeIdentifyData controller{};
  std::optional<NvmeIdentifyData> nameSpace;
};

struct DiskRecording {
  std::map<std::string, IdentifyBlock> ata;   // IDENTIFY (or IDENTIFY PACKET) blocks
  std::map<std::string, RecordedNvme> nvme;
};

class ReplayDiskCommands : public DiskCommands {
 public:
  explicit ReplayDiskCommands(DiskRecording recording);

  DiskCommandStatus AtaIdentify(const std::string& device, bool packet,
                                IdentifyBlock& block) override;
  DiskCommandStatus IdeIdentity(const std::string& device, IdentifyBlock& block) override;
  DiskCommandStatus NvmeNamespaceId(const std::string& device, uint32_t& nsid) override;
  DiskCommandStatus NvmeIdentify(const std::string& device, uint32_t cns, uint32_t nsid,
                                 NvmeIdentifyData& data) override;

 private:
  DiskRecording recording_;
};

}  // namespace velora
