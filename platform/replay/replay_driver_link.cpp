#include "platform/replay/replay_driver_link.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/replay/smbios_entry_fields.h"

namespace velora {

namespace {

constexpr uint64_t kFirmwareSegment = 0xF0000;
constexpr uint64_t kFirmwareSegmentSize = 0x10000;
constexpr uint64_t kEntryAlignment = 16;
// Where a table is moved when the recorded address leaves the entry point no room.
constexpr uint64_t kMovedTableAddress = 0x100000;

bool Overlaps(uint64_t a, uint64_t aLength, uint64_t b, uint64_t bLength) {
  return a < b + bLength && b < a + aLength;
}

}  // namespace

ReplayDriverLink::ReplayDriverLink(std::vector<RecordedPciFunction> functions,
                                   std::optional<SmbiosRecording> smbios)
    : functions_(std::move(functions)) {
  for (size_t i = 0; i < functions_.size(); ++i) {
    if (functions_[i].domain == 0) domainZero_.emplace(functions_[i].address & 0xFFFF, i);
  }
  if (smbios) MapSmbios(std::move(*smbios));
}

// The entry point goes into the firmware segment where the probe looks for it, the table at
// the address the entry point names, as long as the entry says (for "_SM3_" its maximum; a
// table shorter than that is followed by zeros, as by other memory on the machine).
void ReplayDriverLink::MapSmbios(SmbiosRecording smbios) {
  std::vector<uint8_t> entry = std::move(smbios.entryPoint);
  uint64_t address = smbios.tableAddress;
  uint64_t span = std::max<uint64_t>(
      smbios.table.size(),
      std::min<uint64_t>(recorded::EntryTableLength(entry), kLargestSmbiosRecording));
  uint64_t slot = kFirmwareSegment;
  auto fits = [&] {
    for (slot = kFirmwareSegment; slot + entry.size() <= kFirmwareSegment + kFirmwareSegmentSize;
         slot += kEntryAlignment) {
      if (!Overlaps(slot, entry.size(), address, span)) return true;
    }
    return false;
  };
  if (address > UINT64_MAX - span || !fits()) {
    address = kMovedTableAddress;
    recorded::SetEntryTableAddress(entry, address);
    fits();
  }

  MemoryRegion segment{kFirmwareSegment, kFirmwareSegmentSize,
                       std::vector<uint8_t>(kFirmwareSegmentSize, 0)};
  // Where the table lies in the segment too, the segment shows it.
  const uint64_t from = std::max(address, kFirmwareSegment);
  const uint64_t to =
      std::min(address + smbios.table.size(), kFirmwareSegment + kFirmwareSegmentSize);
  for (uint64_t at = from; at < to; ++at) {
    segment.bytes[at - kFirmwareSegment] = smbios.table[at - address];
  }
  std::copy(entry.begin(), entry.end(), segment.bytes.begin() + (slot - kFirmwareSegment));
  memory_.push_back(std::move(segment));
  memory_.push_back({address, span, std::move(smbios.table)});
}

int32_t ReplayDriverLink::Status() const {
  return functions_.empty() ? kDriverNoDevice : kDriverOpen;
}

bool ReplayDriverLink::ReadMsr(uint32_t, uint32_t& low, uint32_t& high) {
  low = 0;
  high = 0;
  return false;
}

bool ReplayDriverLink::WriteMsr(uint32_t, uint32_t, uint32_t) { return false; }

uint32_t ReplayDriverLink::ReadPort32(uint32_t) { return 0; }

void ReplayDriverLink::WritePort32(uint32_t, uint32_t) {}

uint32_t ReplayDriverLink::ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                                         size_t count) {
  auto it = domainZero_.find(address & 0xFFFF);
  if (it == domainZero_.end()) return kPciErrorDeviceAbsent;
  const std::vector<uint8_t>& config = functions_[it->second].config;
  // As the live link's short read of what an ordinary user may not see.
  if (offset > config.size() || count > config.size() - offset) return EIO;
  if (count > 0) std::memcpy(destination, config.data() + offset, count);
  return 0;
}

uint32_t ReplayDriverLink::WritePciConfig(PciAddress address, uint32_t, const void*, size_t) {
  return domainZero_.count(address & 0xFFFF) != 0 ? static_cast<uint32_t>(EPERM)
                                                  : kPciErrorDeviceAbsent;
}

// As a read of /dev/mem: the bytes up to the first address nothing is mapped at.
size_t ReplayDriverLink::ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) {
  auto* out = static_cast<uint8_t*>(destination);
  size_t done = 0;
  while (done < bytes) {
    const uint64_t at = address + done;
    if (at < address) break;  // wrapped past the top of the address space
    auto region = std::find_if(memory_.begin(), memory_.end(), [&](const MemoryRegion& r) {
      return at >= r.address && at - r.address < r.length;
    });
    if (region == memory_.end()) break;
    const uint64_t inside = at - region->address;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(bytes - done, region->length - inside));
    for (size_t i = 0; i < n; ++i) {
      out[done + i] = inside + i < region->bytes.size() ? region->bytes[inside + i] : 0;
    }
    done += n;
  }
  return done;
}

}  // namespace velora
