#pragma once
// Disks that answer from recorded blocks; every command asked is remembered.

#include <map>
#include <string>
#include <vector>

#include "platform/disk_commands.h"

namespace velora {

class FakeDiskCommands : public DiskCommands {
 public:
  struct Answer {
    DiskCommandStatus status = DiskCommandStatus::kCannotOpen;
    IdentifyBlock block{};
  };
  struct NvmeAnswer {
    DiskCommandStatus status = DiskCommandStatus::kCannotOpen;
    uint32_t nsid = 1;
    NvmeIdentifyData controller{}, nameSpace{};
  };

  std::map<std::string, Answer> ata, ide;  // by device node
  std::map<std::string, NvmeAnswer> nvme;
  std::vector<std::string> asked;  // "ata /dev/sda", "ide /dev/sda", "nvme /dev/nvme0n1 cns 1"

  DiskCommandStatus AtaIdentify(const std::string& device, bool packet,
                                IdentifyBlock& block) override {
    asked.push_back((packet ? "atapi " : "ata ") + device);
    return Lookup(ata, device, block);
  }
  DiskCommandStatus IdeIdentity(const std::string& device, IdentifyBlock& block) override {
    asked.push_back("ide " + device);
    return Lookup(ide, device, block);
  }
  DiskCommandStatus NvmeNamespaceId(const std::string& device, uint32_t& nsid) override {
    auto it = nvme.find(device);
    if (it == nvme.end()) return DiskCommandStatus::kCannotOpen;
    if (it->second.status == DiskCommandStatus::kDone) nsid = it->second.nsid;
    return it->second.status;
  }
  DiskCommandStatus NvmeIdentify(const std::string& device, uint32_t cns, uint32_t nsid,
                                 NvmeIdentifyData& data) override {
    asked.push_back("nvme " + device + " cns " + std::to_string(cns) + " nsid " +
                    std::to_string(nsid));
    auto it = nvme.find(device);
    if (it == nvme.end()) return DiskCommandStatus::kCannotOpen;
    if (it->second.status == DiskCommandStatus::kDone)
      data = cns == 1 ? it->second.controller : it->second.nameSpace;
    return it->second.status;
  }

 private:
  static DiskCommandStatus Lookup(const std::map<std::string, Answer>& answers,
                                  const std::string& device, IdentifyBlock& block) {
    auto it = answers.find(device);
    if (it == answers.end()) return DiskCommandStatus::kCannotOpen;
    if (it->second.status == DiskCommandStatus::kDone) block = it->second.block;
    return it->second.status;
  }
};

}  // namespace velora
