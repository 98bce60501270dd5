#pragma once
// Bit fields of the clock registers, counted from 0.

#include <cstdint>

namespace velora {

constexpr uint32_t Bits(uint32_t value, int low, int high) {
  return (value >> low) & ((high - low >= 31) ? 0xFFFFFFFFu : ((1u << (high - low + 1)) - 1));
}

constexpr bool BitSet(uint32_t value, int bit) { return ((value >> bit) & 1u) != 0; }

}  // namespace velora
