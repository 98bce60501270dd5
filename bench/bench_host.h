#pragma once
// The services of the machine a run needs besides the engine: the screen state, the tick
// count that names the scratch files, and what the scratch volume offers.

#include <cstdint>
#include <optional>
#include <string>

#include "bench/bench_result.h"

namespace velora {

class BenchHost {
 public:
  virtual ~BenchHost() = default;

  virtual DisplayState CurrentDisplayState() = 0;
  virtual uint32_t TickCountMs() = 0;
  // Bytes available to this user on the file system that holds path; empty when unknown.
  virtual std::optional<uint64_t> FreeBytes(const std::string& path) = 0;
  // Whether the file system holding path compresses what is written to it.
  virtual bool VolumeCompressed(const std::string& path) = 0;
};

}  // namespace velora
