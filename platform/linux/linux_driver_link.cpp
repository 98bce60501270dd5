#include "platform/linux/linux_driver_link.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/io.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velora {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

// "0000:BB:DD.F" of domain 0; other domains have no place in a 16-bit PCI address.
bool ParseDomainZeroName(const char* name, PciAddress& address) {
  unsigned domain = 0, bus = 0, device = 0, function = 0;
  char tail = 0;
  if (std::sscanf(name, "%4x:%2x:%2x.%1x%c", &domain, &bus, &device, &function, &tail) != 4) {
    return false;
  }
  if (domain != 0 || bus > 0xFF || device > 0x1F || function > 7) return false;
  address = MakePciAddress(bus, device, function);
  return true;
}

uint32_t ErrnoOr(uint32_t fallback) { return errno != 0 ? static_cast<uint32_t>(errno) : fallback; }

}  // namespace

LinuxDriverLink::LinuxDriverLink(LinuxDriverPaths paths) : paths_(std::move(paths)) {
  ListPciFunctions();
  struct stat st {};
  std::string devices = paths_.sysRoot + "/bus/pci/devices";
  if (functions_.empty()) {
    status_ = stat(devices.c_str(), &st) == 0 ? kDriverStartFailed : kDriverNoDevice;
    return;
  }
  status_ = kDriverStartFailed;
  for (const auto& [address, path] : functions_) {
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.valid()) {
      status_ = kDriverOpen;
      break;
    }
  }
}

void LinuxDriverLink::ListPciFunctions() {
  std::string devices = paths_.sysRoot + "/bus/pci/devices";
  DIR* dir = opendir(devices.c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    PciAddress address = 0;
    if (ParseDomainZeroName(entry->d_name, address)) {
      functions_[address] = devices + "/" + entry->d_name + "/config";
    }
  }
  closedir(dir);
}

uint32_t LinuxDriverLink::ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                                        size_t count) {
  auto it = functions_.find(address & 0xFFFF);
  if (it == functions_.end()) return kPciErrorDeviceAbsent;
  errno = 0;
  FileDescriptor fd(open(it->second.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return ErrnoOr(EACCES);
  ssize_t got = pread(fd.get(), destination, count, offset);
  if (got < 0) return ErrnoOr(EIO);
  // An ordinary user sees only the first 64 bytes; a short read is a failed call.
  if (static_cast<size_t>(got) != count) return EIO;
  return 0;
}

uint32_t LinuxDriverLink::WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                                         size_t count) {
  auto it = functions_.find(address & 0xFFFF);
  if (it == functions_.end()) return kPciErrorDeviceAbsent;
  errno = 0;
  FileDescriptor fd(open(it->second.c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd.valid()) return ErrnoOr(EACCES);
  ssize_t put = pwrite(fd.get(), source, count, offset);
  if (put < 0) return ErrnoOr(EIO);
  if (static_cast<size_t>(put) != count) return EIO;
  return 0;
}

std::string LinuxDriverLink::MsrDevicePath() const {
  int cpu = sched_getcpu();
  if (cpu < 0) cpu = 0;
  return paths_.devRoot + "/cpu/" + std::to_string(cpu) + "/msr";
}

void LinuxDriverLink::LoadMsrModuleOnce() {
  std::call_once(msrModuleOnce_, [this] {
    if (geteuid() != 0 || paths_.devRoot != "/dev") return;
    if (access("/dev/cpu/0/msr", F_OK) == 0) return;
    // The counterpart of installing the driver: load the msr module, quietly.
    for (const char* modprobe : {"/usr/sbin/modprobe", "/sbin/modprobe"}) {
      if (access(modprobe, X_OK) != 0) continue;
      char arg0[] = "modprobe", arg1[] = "-q", arg2[] = "msr";
      char* argv[] = {arg0, arg1, arg2, nullptr};
      char* envp[] = {nullptr};
      pid_t pid = 0;
      if (posix_spawn(&pid, modprobe, nullptr, nullptr, argv, envp) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
      }
      return;
    }
  });
}

bool LinuxDriverLink::ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) {
  low = 0;
  high = 0;
  LoadMsrModuleOnce();
  FileDescriptor fd(open(MsrDevicePath().c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;
  uint64_t value = 0;
  if (pread(fd.get(), &value, sizeof value, index) != static_cast<ssize_t>(sizeof value)) {
    return false;
  }
  low = static_cast<uint32_t>(value);
  high = static_cast<uint32_t>(value >> 32);
  return true;
}

bool LinuxDriverLink::WriteMsr(uint32_t index, uint32_t low, uint32_t high) {
  LoadMsrModuleOnce();
  FileDescriptor fd(open(MsrDevicePath().c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd.valid()) return false;
  uint64_t value = static_cast<uint64_t>(high) << 32 | low;
  return pwrite(fd.get(), &value, sizeof value, index) == static_cast<ssize_t>(sizeof value);
}

bool LinuxDriverLink::EnablePort(uint32_t port) {
  if (port > 0xFFFF - 3) return false;
  return ioperm(port, 4, 1) == 0;
}

uint32_t LinuxDriverLink::ReadPort32(uint32_t port) {
  if (!EnablePort(port)) return 0;
  return inl(static_cast<unsigned short>(port));
}

void LinuxDriverLink::WritePort32(uint32_t port, uint32_t value) {
  if (!EnablePort(port)) return;
  outl(value, static_cast<unsigned short>(port));
}

size_t LinuxDriverLink::ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) {
  std::string path = paths_.devRoot + "/mem";
  FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return 0;
  auto* out = static_cast<unsigned char*>(destination);
  size_t done = 0;
  while (done < bytes) {
    ssize_t got = pread(fd.get(), out + done, bytes - done, static_cast<off_t>(address + done));
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

DriverLink& ProcessDriverLink() {
  static LinuxDriverLink link;
  return link;
}

}  // namespace velora
