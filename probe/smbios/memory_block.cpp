#include "probe/smbios/memory_block.h"

#include <limits>

namespace velora {

uint32_t ReadMemoryBlock(DriverLink& link, uint64_t address, void* buffer, uint32_t count,
                         uint32_t size) {
  if (buffer == nullptr || count == 0 || size == 0) return 0;
  uint64_t bytes = uint64_t{count} * size;
  if (bytes > std::numeric_limits<size_t>::max()) return 0;
  return link.ReadPhysicalMemory(address, buffer, static_cast<size_t>(bytes)) == bytes ? count
                                                                                       : 0;
}

}  // namespace velora
