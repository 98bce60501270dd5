#pragma once

#include <cstdint>

#include "platform/driver_link.h"

namespace velora {

// Reads count elements of size bytes of physical memory. The element count when exactly
// count x size bytes were read, else 0.
uint32_t ReadMemoryBlock(DriverLink& link, uint64_t address, void* buffer, uint32_t count,
                         uint32_t size);

}  // namespace velora
