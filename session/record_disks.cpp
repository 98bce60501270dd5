#include "session/record_disks.h"

#include "platform/replay/recorded_identify.h"
#include "session/record_privacy.h"

namespace velora {

namespace {

const char* WhyNot(DiskCommandStatus status) {
  switch (status) {
    case DiskCommandStatus::kDone: break;
    case DiskCommandStatus::kCannotOpen: return "does not open";
    case DiskCommandStatus::kNoPrivilege: return "needs root for identification";
    case DiskCommandStatus::kRefused: return "does not answer identification";
  }
  return "";
}

std::string BytesOf(const NvmeIdentifyData& data) {
  return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}

DiskCommandStatus ReadNvme(const BlockDevice& device, const std::string& node,
                           DiskCommands& commands, bool serials, DiskFiles& out) {
  uint32_t nsid = 0;
  NvmeIdentifyData controller{}, nameSpace{};
  DiskCommandStatus status = commands.NvmeNamespaceId(node, nsid);
  if (status == DiskCommandStatus::kDone) status = commands.NvmeIdentify(node, 1, 0, controller);
  if (status == DiskCommandStatus::kDone) status = commands.NvmeIdentify(node, 0, nsid, nameSpace);
  if (status != DiskCommandStatus::kDone) return status;
  if (!serials) {
    BlankNvmeControllerSerial(controller);
    BlankNvmeNamespaceIds(nameSpace);
  }
  out.files.push_back({device.name + ".nvme-ctrl.bin", BytesOf(controller)});
  out.files.push_back({device.name + ".nvme-ns" + std::to_string(nsid) + ".bin", BytesOf(nameSpace)});
  return status;
}

DiskCommandStatus ReadAta(const BlockDevice& device, const std::string& node,
                          DiskCommands& commands, bool serials, DiskFiles& out) {
  IdentifyBlock block{};
  DiskCommandStatus status = commands.AtaIdentify(node, device.packet, block);
  if (status != DiskCommandStatus::kDone &&
      commands.IdeIdentity(node, block) == DiskCommandStatus::kDone) {
    status = DiskCommandStatus::kDone;
  }
  if (status != DiskCommandStatus::kDone) return status;
  if (!serials) BlankIdentifySerials(block);
  out.files.push_back({device.name + ".identify.txt", IdentifyText(block)});
  return status;
}

}  // namespace

DiskFiles ReadDiskFiles(const std::vector<BlockDevice>& devices, DiskCommands& commands,
                        bool serials, const std::string& devRoot) {
  DiskFiles out;
  for (const BlockDevice& device : devices) {
    const std::string node = devRoot + "/dev/" + device.name;
    // Only the kinds the Disk page identifies; the others it names from the kernel's files.
    DiskCommandStatus status = DiskCommandStatus::kRefused;
    if (device.transport == DiskTransport::kNvme)
      status = ReadNvme(device, node, commands, serials, out);
    else if (device.transport == DiskTransport::kAta)
      status = ReadAta(device, node, commands, serials, out);
    if (status == DiskCommandStatus::kDone)
      ++out.identified;
    else
      out.missing.push_back(device.name + " " + WhyNot(status));
  }
  return out;
}

}  // namespace velora
