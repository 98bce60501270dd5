#include "info/disk_identification.h"

#include <algorithm>

#include "info/nvme_identify.h"

namespace velora {
namespace {

bool AtaCandidate(const BlockDevice& d) { return d.transport == DiskTransport::kAta; }

DiskRow KernelRow(const BlockDevice& device, bool needsPrivilege) {
  DiskRow row;
  row.identity.model = device.model;
  row.identity.serialNumber = device.serialNumber;
  row.identity.firmwareRevision = device.firmwareRevision;
  row.identity.diskSize = HundredMegabytes(device.sizeBytes);
  if (device.transport == DiskTransport::kNvme) {
    row.identity.maximumMode = device.linkMaximum;
    row.identity.currentMode = device.linkNow;
  }
  row.interfaceText = TransportText(device);
  row.deviceName = device.name;
  row.identifyNeedsPrivilege = needsPrivilege;
  return row;
}

}  // namespace

DiskRow AtaDiskRow(const IdentifyWords& words, const std::string& deviceName,
                   DiskRowSource source) {
  DiskRow row;
  row.identity = DecodeIdentify(words);
  row.interfaceText = row.identity.maximumMode.find("SATA") != std::string::npos ? "SATA" : "IDE";
  row.deviceName = deviceName;
  row.source = source;
  return row;
}

bool PlausibleIdentify(const IdentifyBlock& block) {
  if (std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0; })) return false;
  // Word 255: signature 0xA5 in the low byte, then a checksum that makes all bytes sum to 0.
  if (block[510] != 0xA5) return true;
  uint8_t sum = 0;
  for (uint8_t b : block) sum = static_cast<uint8_t>(sum + b);
  return sum == 0;
}

std::vector<DiskRow> IdentifyDisks(const std::vector<BlockDevice>& devices, DiskCommands& commands,
                                   const std::string& devRoot) {
  const size_t count = devices.size();
  std::vector<DiskRow> rows(count);
  std::vector<bool> identified(count, false), needsPrivilege(count, false);
  auto node = [&](size_t i) { return devRoot + "/dev/" + devices[i].name; };

  bool anyAta = false;
  for (size_t i = 0; i < count; ++i) {
    if (!AtaCandidate(devices[i])) continue;
    IdentifyBlock block{};
    const DiskCommandStatus status = commands.AtaIdentify(node(i), devices[i].packet, block);
    if (status == DiskCommandStatus::kDone && PlausibleIdentify(block)) {
      rows[i] = AtaDiskRow(WordsOfBlock(block), devices[i].name);
      identified[i] = anyAta = true;
    } else if (status == DiskCommandStatus::kNoPrivilege) {
      needsPrivilege[i] = true;
    }
  }
  if (!anyAta) {
    for (size_t i = 0; i < count; ++i) {
      if (!AtaCandidate(devices[i])) continue;
      IdentifyBlock block{};
      const DiskCommandStatus status = commands.IdeIdentity(node(i), block);
      if (status == DiskCommandStatus::kDone && PlausibleIdentify(block)) {
        rows[i] = AtaDiskRow(WordsOfBlock(block), devices[i].name, DiskRowSource::kIdeIdentity);
        identified[i] = true;
        needsPrivilege[i] = false;
      }
    }
  }

  for (size_t i = 0; i < count; ++i) {
    if (devices[i].transport != DiskTransport::kNvme) continue;
    uint32_t nsid = 0;
    NvmeIdentifyData controller{}, nameSpace{};
    DiskCommandStatus status = commands.NvmeNamespaceId(node(i), nsid);
    if (status == DiskCommandStatus::kDone)
      status = commands.NvmeIdentify(node(i), 1, 0, controller);
    if (status == DiskCommandStatus::kDone)
      status = commands.NvmeIdentify(node(i), 0, nsid, nameSpace);
    if (status == DiskCommandStatus::kDone) {
      DiskRow& row = rows[i];
      row.identity = DecodeNvmeIdentify(controller, nameSpace);
      row.identity.maximumMode = devices[i].linkMaximum;
      row.identity.currentMode = devices[i].linkNow;
      row.interfaceText = "NVMe";
      row.deviceName = devices[i].name;
      row.source = DiskRowSource::kNvmeIdentify;
      identified[i] = true;
    } else if (status == DiskCommandStatus::kNoPrivilege) {
      needsPrivilege[i] = true;
    }
  }

  for (size_t i = 0; i < count; ++i)
    if (!identified[i]) rows[i] = KernelRow(devices[i], needsPrivilege[i]);
  return rows;
}

}  // namespace velora
