#include "probe/pci/pci_chipset_prepare.h"

#include <algorithm>
#include <atomic>

#include "probe/pci/pci_config.h"

namespace velora {

namespace {

// Library-wide, written by a scan and read by the power commands; atomics, so a scan on one
// thread and a command on another do not race.
std::atomic<uint32_t> northPair{0};
std::atomic<uint32_t> northSearch{kPciDeviceNotFound};
std::atomic<bool> preparedK7{false};
std::atomic<bool> preparedK8{false};

struct BitToSet {
  uint32_t offset;
  uint8_t bit;
};

struct K7Preparation {
  uint32_t pairs[5];
  BitToSet bits[2];  // offset 0: unused
};

// One row per line of the table of K7 preparations.
constexpr K7Preparation kK7Preparations[] = {
    {{0x1022700C, 0x1022700E}, {{0x44, 0x01}, {0, 0}}},
    {{0x11060305, 0x11060391, 0x11060601, 0x11060605, 0x11063112}, {{0x55, 0x04}, {0, 0}}},
    {{0x10DE01E0, 0x10DE01F0}, {{0xF6, 0x10}, {0xE7, 0x10}}},
};

}  // namespace

void RecordNorthBridge(uint32_t pair, uint32_t searchResult) {
  northPair.store(pair);
  northSearch.store(searchResult);
}

uint32_t RecordedNorthBridgePair() { return northPair.load(); }
uint32_t RecordedNorthBridgeSearch() { return northSearch.load(); }

void SetPciConfigBit(DriverLink& link, PciAddress address, uint32_t offset, uint8_t bit) {
  uint8_t value = 0;
  if (link.ReadPciConfig(address, offset, &value, 1) != 0) return;
  if (value & bit) return;
  WritePciConfigByte(link, address, offset, value | bit);
}

void PrepareChipsetK7(DriverLink& link) {
  if (preparedK7.exchange(true)) return;
  uint32_t pair = northPair.load();
  if (pair == 0) return;
  uint32_t search = northSearch.load();
  if ((search & 0xFF) != 0) return;  // no north bridge was found
  PciAddress address = search >> 16;
  for (const K7Preparation& row : kK7Preparations) {
    if (std::find(std::begin(row.pairs), std::end(row.pairs), pair) == std::end(row.pairs)) {
      continue;
    }
    for (const BitToSet& b : row.bits) {
      if (b.offset != 0) SetPciConfigBit(link, address, b.offset, b.bit);
    }
    return;
  }
}

void PrepareChipsetK8(DriverLink& link) {
  if (preparedK8.exchange(true)) return;
  uint32_t found = FindPciDevice(link, 0x1022, 0x1103, 0);
  if ((found & 0xFF) != 0) return;
  PciAddress address = found >> 16;
  uint8_t value = 0;
  if (link.ReadPciConfig(address, 0x82, &value, 1) != 0) return;
  WritePciConfigByte(link, address, 0x82, value | 0x04);
}

void ClearChipsetPreparedFlags() {
  preparedK7.store(false);
  preparedK8.store(false);
}

}  // namespace velora
