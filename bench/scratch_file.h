#pragma once
// The HDD test's scratch file: checked for space and writability, then written in full in
// 1 MiB blocks from one reused buffer before the engine measures it.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bench/bench_host.h"
#include "bench/scratch_folder.h"
#include "bench/scratch_messages.h"
#include "engine/hdd_scratch_params.h"

namespace velora {

inline constexpr uint32_t kScratchBlockSize = 1048576;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
using ScratchBlock = std::unique_ptr<void, FreeDeleter>;

// Checks the free space and writability of folder's volume, allocates the block (zero, or
// pseudo-random words on a compressing volume) into block and params.blockBuffer, writes the
// file inside folder with direct I/O where the file system allows it, and gives the engine a
// path to it. A stop request is honoured between blocks. On failure the file is gone and the
// failure names the path and the reason.
std::optional<ScratchFailure> PrepareScratchFile(HddScratchParams& params, ScratchBlock& block,
                                                 BenchHost& host, const ScratchFolder& folder,
                                                 const std::atomic<bool>& stop);

}  // namespace velora
