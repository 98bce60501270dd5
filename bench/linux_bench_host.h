#pragma once
// The host on Linux: statvfs for free space, the coarse monotonic clock as tick count, and no
// screen (a windowed front end supplies its own display state).

#include <functional>

#include "bench/bench_host.h"

namespace velora {

class LinuxBenchHost : public BenchHost {
 public:
  // display: the current screen state; without one the screen fields are 0 and only the font
  // smoothing type is read.
  explicit LinuxBenchHost(std::function<DisplayState()> display = {});

  DisplayState CurrentDisplayState() override;
  uint32_t TickCountMs() override;
  std::optional<uint64_t> FreeBytes(const std::string& path) override;
  bool VolumeCompressed(const std::string& path) override;

 private:
  std::function<DisplayState()> display_;
};

}  // namespace velora
