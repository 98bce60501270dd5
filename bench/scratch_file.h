#pragma once
// The HDD test's scratch file: checked for space and writability, then written in full in
// 1 MiB blocks from one reused buffer before the engine measures it.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bench/bench_host.h"
#include "bench/scratch_messages.h"
#include "engine/hdd_scratch_params.h"

namespace velora {

inline constexpr uint32_t kScratchBlockSize = 1048576;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
using ScratchBlock = std::unique_ptr<void, FreeDeleter>;

// Fills params.filePath from a C string, truncated to the field.
void SetScratchPath(HddScratchParams& params, const std::string& path);

// Checks the free space and writability of the volume of params.filePath, allocates the block
// (zero, or pseudo-random words on a compressing volume) into block and params.blockBuffer,
// and writes the file with direct I/O where the file system allows it. On failure nothing is
// left on disk and the failure says which message to show.
std::optional<ScratchFailure> PrepareScratchFile(HddScratchParams& params, ScratchBlock& block,
                                                 BenchHost& host);

}  // namespace velora
