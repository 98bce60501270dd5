#include "platform/replay/replay_disk_commands.h"

#include <utility>

namespace velora {

namespace {

// "sda" of "/dev/sda" or of the same node under a root prefix.
std::string DeviceName(const std::string& device) {
  const size_t slash = device.rfind('/');
  return slash == std::string::npos ? device : device.substr(slash + 1);
}

}  // namespace

ReplayDiskCommands::ReplayDiskCommands(DiskRecording recording)
    : recording_(std::move(recording)) {}

DiskCommandStatus ReplayDiskCommands::AtaIdentify(const std::string& device, bool /*packet*/,
                                                  IdentifyBlock& block) {
  auto it = recording_.ata.find(DeviceName(device));
  if (it == recording_.ata.end()) return DiskCommandStatus::kRefused;
  block = it->second;
  return DiskCommandStatus::kDone;
}

// The block the driver kept is the one the drive gave: the same recording answers.
DiskCommandStatus ReplayDiskCommands::IdeIdentity(const std::string& device, IdentifyBlock& block) {
  return AtaIdentify(device, false, block);
}

DiskCommandStatus ReplayDiskCommands::NvmeNamespaceId(const std::string& device, uint32_t& nsid) {
  auto it = recording_.nvme.find(DeviceName(device));
  if (it == recording_.nvme.end()) return DiskCommandStatus::kRefused;
  nsid = it->second.namespaceId;
  return DiskCommandStatus::kDone;
}

DiskCommandStatus ReplayDiskCommands::NvmeIdentify(const std::string& device, uint32_t cns,
                                                   uint32_t nsid, NvmeIdentifyData& data) {
  auto it = recording_.nvme.find(DeviceName(device));
  if (it == recording_.nvme.end()) return DiskCommandStatus::kRefused;
  const RecordedNvme& nvme = it->second;
  if (cns == 1) {
    data = nvme.controller;
    return DiskCommandStatus::kDone;
  }
  if (cns == 0 && nvme.nameSpace && nsid == nvme.namespaceId) {
    data = *nvme.nameSpace;
    return DiskCommandStatus::kDone;
  }
  return DiskCommandStatus::kRefused;
}

}  // namespace velora
