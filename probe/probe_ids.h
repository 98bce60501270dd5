#pragma once
// The id space of the probe object: ranges with an inclusive lower and exclusive upper bound.

#include <cstdint>

namespace velora {

struct ProbeIdRange {
  uint32_t first;
  uint32_t end;  // exclusive
  constexpr bool Contains(uint32_t id) const { return id >= first && id < end; }
};

constexpr ProbeIdRange kCpuIds{0x1000, 0x1FFE};
constexpr ProbeIdRange kChipsetIds{0x2000, 0x2FFE};
constexpr ProbeIdRange kPciDeviceIds{0x5000, 0x5FFE};
constexpr ProbeIdRange kSmbiosIds{0x6000, 0x6FFE};
// Re-identify the processor on logical processor (id AND 31).
constexpr ProbeIdRange kSelectProcessorIds{0x1100, 0x1120};

constexpr uint32_t kIdBuildNumber = 1;
constexpr uint32_t kIdBuildDate = 2;
constexpr uint32_t kIdAuthor = 3;
constexpr uint32_t kIdDriverStatus = 16;
constexpr uint32_t kIdDirectXVersion = 0x300;
constexpr uint32_t kIdCpuPlatform = 0x1006;
constexpr uint32_t kIdSmbiosProcessorSocket = 0x6300;

constexpr const char* kBuildNumberText = "275";
constexpr const char* kBuildDateText = "2005/10/10";
constexpr const char* kAuthorText = "Pellomar";

}  // namespace velora
