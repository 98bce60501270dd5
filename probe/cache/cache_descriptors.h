#pragma once
// The one-byte cache descriptors of Intel leaf 2, one row per line of the published table.

#include <array>
#include <cstdint>

#include "probe/cpu/cpu_fields.h"

namespace velora {

enum class CacheKind : uint8_t {
  L1Instruction,
  L1Data,
  L2,
  L3,
  TraceCache,   // also sets the L1 instruction ways to 8
  NoL2OrL3,     // family 6: L2 size 0; otherwise L3 size 0
};

// Leaves a detail unchanged.
constexpr int32_t kKeep = INT32_MIN;

struct CacheDescriptorRow {
  std::array<uint8_t, 5> codes;  // the first `count` are used
  uint8_t count;
  CacheKind kind;
  std::array<int32_t, 5> sizesKb;  // in the order of codes
  int32_t ways;
  int32_t line;
};

using K = CacheKind;

inline constexpr CacheDescriptorRow kIntelCacheDescriptors[] = {
    {{0x06}, 1, K::L1Instruction, {8}, 4, 32},
    {{0x08}, 1, K::L1Instruction, {16}, 4, 32},
    {{0x0A}, 1, K::L1Data, {8}, 2, 32},
    {{0x0C}, 1, K::L1Data, {16}, 4, 32},
    {{0x10}, 1, K::L1Data, {16}, 4, 32},
    {{0x15}, 1, K::L1Instruction, {16}, 4, 32},
    {{0x1A}, 1, K::L2, {96}, 6, 64},
    {{0x22}, 1, K::L3, {512}, 4, 64},
    {{0x23}, 1, K::L3, {1024}, 8, 64},
    {{0x25}, 1, K::L3, {2048}, 8, 64},
    {{0x29}, 1, K::L3, {4096}, 8, 64},
    {{0x2C}, 1, K::L1Data, {32}, 8, 64},
    {{0x30}, 1, K::L1Instruction, {32}, 8, 64},
    {{0x39}, 1, K::L2, {128}, 4, 64},
    {{0x3B}, 1, K::L2, {128}, 2, 64},
    {{0x3C}, 1, K::L2, {256}, 4, 64},
    {{0x40}, 1, K::NoL2OrL3, {0}, kKeep, kKeep},
    {{0x41, 0x42, 0x43, 0x44, 0x45}, 5, K::L2, {128, 256, 512, 1024, 2048}, 4, 32},
    // The L3 of the 65 nm Xeon MP; 0x49 is left out, it means an L2 on family 6.
    {{0x4A}, 1, K::L3, {6144}, 12, 64},
    {{0x4B}, 1, K::L3, {8192}, 16, 64},
    {{0x4C}, 1, K::L3, {12288}, 12, 64},
    {{0x4D}, 1, K::L3, {16384}, 16, 64},
    {{0x60}, 1, K::L1Data, {16}, 8, 64},
    {{0x66, 0x67, 0x68}, 3, K::L1Data, {8, 16, 32}, 4, 64},
    {{0x70, 0x71, 0x72}, 3, K::TraceCache, {12, 16, 32}, 8, kKeep},
    {{0x77}, 1, K::L1Instruction, {16}, 8, 64},
    {{0x78}, 1, K::L2, {1024}, 4, 64},
    {{0x79, 0x7A}, 2, K::L2, {128, 256}, 8, 64},
    {{0x7B, 0x86}, 2, K::L2, {512, 512}, 8, 64},
    {{0x7C, 0x87}, 2, K::L2, {1024, 1024}, 8, 64},
    {{0x7D}, 1, K::L2, {2048}, 8, 64},
    {{0x7E}, 1, K::L2, {256}, 8, 128},
    {{0x7F}, 1, K::L2, {512}, 2, 64},
    {{0x81, 0x82, 0x83, 0x84, 0x85}, 5, K::L2, {128, 256, 512, 1024, 2048}, 8, 32},
    {{0x88, 0x89, 0x8A}, 3, K::L3, {2048, 4096, 8192}, 4, 64},
    {{0x8D}, 1, K::L3, {3072}, 12, 128},
};

// Applies one descriptor byte; bytes not in the table change nothing. Returns whether the
// byte was known.
bool ApplyCacheDescriptor(uint8_t code, CpuFields& f);

// Leaf 2 executed once: every byte of EAX, EBX, ECX, EDX, highest byte of each first; then the
// detail texts are the numbers. Returns whether the descriptor 0xFF (see leaf 4) was among them.
bool DecodeIntelCacheDescriptors(const uint32_t registers[4], CpuFields& f);

}  // namespace velora
