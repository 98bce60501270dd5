#pragma once
// The record the runner hands to the engine for the HDD test: a scratch file that already
// exists with its full size. Shared by the runner and the engine, so plain C layout.

#include <cstdint>

namespace velora {

inline constexpr int kHddScratchPathCapacity = 260;

struct HddScratchParams {
  uint32_t fileSize;      // bytes
  uint32_t blockSize;     // bytes, 1048576 from the runner
  void* blockBuffer;      // one block, filled by the runner
  char filePath[kHddScratchPathCapacity];  // zero-terminated
};

}  // namespace velora
