#include "platform/linux/linux_disk_commands.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/hdreg.h>
#include <linux/nvme_ioctl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>

namespace velora {
namespace {

// A disk that has not answered in this time never will; the page must not wait on it.
constexpr unsigned kCommandTimeoutMs = 3000;

DiskCommandStatus StatusOfErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return DiskCommandStatus::kNoPrivilege;
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case ENOTDIR:
    case ELOOP: return DiskCommandStatus::kCannotOpen;
    default: return DiskCommandStatus::kRefused;
  }
}

// Read-only, without waiting for media, never a controlling terminal.
class DeviceNode {
 public:
  explicit DeviceNode(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)),
        openError_(fd_ < 0 ? errno : 0) {}
  ~DeviceNode() {
    if (fd_ >= 0) close(fd_);
  }
  DeviceNode(const DeviceNode&) = delete;
  DeviceNode& operator=(const DeviceNode&) = delete;

  int fd() const { return fd_; }
  DiskCommandStatus OpenStatus() const {
    return fd_ >= 0 ? DiskCommandStatus::kDone : StatusOfErrno(openError_);
  }

 private:
  int fd_;
  int openError_;
};

}  // namespace

DiskCommandStatus LinuxDiskCommands::AtaIdentify(const std::string& device, bool packet,
                                                 IdentifyBlock& block) {
  DeviceNode node(device);
  if (node.fd() < 0) return node.OpenStatus();
  // ATA PASS-THROUGH (16): PIO data-in, one 512-byte block from the device, no check condition.
  uint8_t cdb[16] = {};
  cdb[0] = 0x85;
  cdb[1] = 4 << 1;
  cdb[2] = 0x0E;  // T_DIR from device, BYT_BLOK in blocks, T_LENGTH in the sector count
  cdb[6] = 1;
  cdb[14] = packet ? 0xA1 : 0xEC;
  uint8_t sense[32] = {};
  IdentifyBlock data{};
  sg_io_hdr_t io{};
  io.interface_id = 'S';
  io.dxfer_direction = SG_DXFER_FROM_DEV;
  io.cmd_len = sizeof cdb;
  io.cmdp = cdb;
  io.mx_sb_len = sizeof sense;
  io.sbp = sense;
  io.dxfer_len = static_cast<unsigned>(data.size());
  io.dxferp = data.data();
  io.timeout = kCommandTimeoutMs;
  if (ioctl(node.fd(), SG_IO, &io) != 0) return StatusOfErrno(errno);
  const bool clean = (io.info & SG_INFO_OK_MASK) == SG_INFO_OK && io.status == 0 &&
                     io.host_status == 0 && io.driver_status == 0 && io.resid == 0;
  if (!clean) return DiskCommandStatus::kRefused;
  block = data;
  return DiskCommandStatus::kDone;
}

DiskCommandStatus LinuxDiskCommands::IdeIdentity(const std::string& device, IdentifyBlock& block) {
  DeviceNode node(device);
  if (node.fd() < 0) return node.OpenStatus();
  IdentifyBlock data{};
  if (ioctl(node.fd(), HDIO_GET_IDENTITY, data.data()) != 0) return StatusOfErrno(errno);
  block = data;
  return DiskCommandStatus::kDone;
}

DiskCommandStatus LinuxDiskCommands::NvmeNamespaceId(const std::string& device, uint32_t& nsid) {
  DeviceNode node(device);
  if (node.fd() < 0) return node.OpenStatus();
  const int id = ioctl(node.fd(), NVME_IOCTL_ID);
  if (id <= 0) return id < 0 ? StatusOfErrno(errno) : DiskCommandStatus::kRefused;
  nsid = static_cast<uint32_t>(id);
  return DiskCommandStatus::kDone;
}

DiskCommandStatus LinuxDiskCommands::NvmeIdentify(const std::string& device, uint32_t cns,
                                                  uint32_t nsid, NvmeIdentifyData& data) {
  DeviceNode node(device);
  if (node.fd() < 0) return node.OpenStatus();
  NvmeIdentifyData buffer{};
  nvme_admin_cmd command{};
  command.opcode = 0x06;  // Identify
  command.nsid = nsid;
  command.addr = reinterpret_cast<uintptr_t>(buffer.data());
  command.data_len = static_cast<uint32_t>(buffer.size());
  command.cdw10 = cns;
  command.timeout_ms = kCommandTimeoutMs;
  const int result = ioctl(node.fd(), NVME_IOCTL_ADMIN_CMD, &command);
  // Positive: the controller's own status code for a command it would not complete.
  if (result != 0) return result < 0 ? StatusOfErrno(errno) : DiskCommandStatus::kRefused;
  data = buffer;
  return DiskCommandStatus::kDone;
}

}  // namespace velora
