#include "bench/linux_bench_host.h"

#include <sys/statvfs.h>
#include <time.h>

#include <fstream>
#include <sstream>

#include "core/font_smoothing.h"
#include "platform/mount_query.h"

namespace velora {

LinuxBenchHost::LinuxBenchHost(std::function<DisplayState()> display)
    : display_(std::move(display)) {}

DisplayState LinuxBenchHost::CurrentDisplayState() {
  if (display_) return display_();
  DisplayState state;
  state.fontSmoothing = fontSmoothingType();
  return state;
}

uint32_t LinuxBenchHost::TickCountMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  const uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

std::optional<uint64_t> LinuxBenchHost::FreeBytes(const std::string& path) {
  struct statvfs vfs {};
  if (statvfs(path.c_str(), &vfs) != 0) return std::nullopt;
  return static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
}

bool LinuxBenchHost::VolumeCompressed(const std::string& path) {
  // Only btrfs compresses transparently, and only when mounted with a compress option.
  MountInfo mount;
  if (!MountOfPath(path, mount) || mount.fsType != "btrfs") return false;
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, point, type, options;
    fields >> device >> point >> type >> options;
    if (point == mount.mountPoint && type == "btrfs") {
      return options.find("compress") != std::string::npos;
    }
  }
  return false;
}

}  // namespace velora
