#include "probe/smbios/smbios_probe.h"

#include <fstream>

#include "probe/smbios/memory_block.h"
#include "probe/probe_id_table.h"
#include "probe/smbios/smbios_entry_point.h"

namespace velora {

namespace {

constexpr uint64_t kFirmwareSegment = 0xF0000;
constexpr uint32_t kFirmwareSegmentSize = 0x10000;
constexpr size_t kVersionCapacity = 7;
// Larger than any table firmware ships; a corrupt entry point must not make us allocate
// gigabytes.
constexpr uint32_t kTableLimit = 16u << 20;

bool ReadFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.clear();
  char buffer[4096];
  while (bytes.size() < limit) {
    in.read(buffer, sizeof buffer);
    size_t n = static_cast<size_t>(in.gcount());
    if (n == 0) break;
    if (n > limit - bytes.size()) n = limit - bytes.size();
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return true;
}

// Ids of the thirteen texts, in the order of SmbiosText.
namespace ids = probe_id;
constexpr uint32_t kTextIds[kSmbiosTextCount] = {
    ids::kSmbiosBiosVendor,           ids::kSmbiosBiosVersion,
    ids::kSmbiosBiosDate,             ids::kSmbiosBiosRevision,
    ids::kSmbiosBoardVendor,          ids::kSmbiosBoardProduct,
    ids::kSmbiosBoardVersion,         ids::kSmbiosProcessorSocket,
    ids::kSmbiosProcessorManufacturer, ids::kSmbiosProcessorVersion,
    ids::kSmbiosProcessorMaxSpeed,    ids::kSmbiosProcessorCurrentSpeed,
    ids::kSmbiosProcessorExternalClock,
};

}  // namespace

SmbiosProbe::SmbiosProbe(ProbeEnvironment& env) : env_(env) { Read(); }

bool SmbiosProbe::ReadTable(bool fromMemory, uint64_t address, uint32_t length,
                            std::vector<uint8_t>& table) {
  if (length > kTableLimit) length = kTableLimit;
  if (fromMemory) {
    table.assign(length, 0);
    return length > 0 && ReadMemoryBlock(env_.driver, address, table.data(), length, 1) == length;
  }
  // The DMI file holds the table itself; the address is that of the firmware.
  return ReadFile(env_.firmwareTablesFolder + "/DMI", length, table);
}

void SmbiosProbe::Read() {
  std::vector<uint8_t> block(kFirmwareSegmentSize);
  bool fromMemory =
      ReadMemoryBlock(env_.driver, kFirmwareSegment, block.data(), kFirmwareSegmentSize, 1) ==
      kFirmwareSegmentSize;
  if (!fromMemory) {
    // Linux exposes the same entry point and table where physical memory is closed to us.
    if (env_.firmwareTablesFolder.empty() ||
        !ReadFile(env_.firmwareTablesFolder + "/smbios_entry_point", kFirmwareSegmentSize,
                  block)) {
      return;
    }
  }

  SmbiosEntryPoint entry = FindSmbiosEntryPoint(block.data(), block.size());
  version_ = entry.version.substr(0, kVersionCapacity);
  if (entry.kind == SmbiosEntryPoint::Kind::None || !entry.valid) return;
  found_ = 1;

  std::vector<uint8_t> table;
  if (!ReadTable(fromMemory, entry.tableAddress, entry.tableLength, table)) return;
  if (entry.kind == SmbiosEntryPoint::Kind::Legacy) {
    if (entry.structureCount > 0) {
      DecodeSmbiosTable(table.data(), table.size(), {entry.structureCount, false}, texts_);
    }
  } else {
    DecodeSmbiosTable(table.data(), table.size(), {0, true}, texts_);
  }
}

int32_t SmbiosProbe::GetString(uint32_t id, std::string& text) {
  text.clear();
  if (id == ids::kSmbiosVersion) {
    text = version_;
    return 0;
  }
  for (size_t i = 0; i < kSmbiosTextCount; ++i) {
    if (kTextIds[i] == id) {
      text = texts_[i];
      return 0;
    }
  }
  return -1;
}

int32_t SmbiosProbe::GetInt(uint32_t id, int32_t& value) {
  if (id == ids::kSmbiosFound) {
    value = found_;
    return 0;
  }
  value = -1;
  return -1;
}

}  // namespace velora
