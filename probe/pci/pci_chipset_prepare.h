#pragma once
// The two chipset preparations run before a processor's power state changes, and the
// library-wide north bridge they work on (that of the most recent PCI scan).

#include <cstdint>

#include "platform/driver_link.h"

namespace velora {

// Kept by every PCI scan; outlives the probe object.
void RecordNorthBridge(uint32_t pair, uint32_t searchResult);
uint32_t RecordedNorthBridgePair();
uint32_t RecordedNorthBridgeSearch();

// Each runs at most once until the prepared flags are cleared; the flag is set at the first
// call whatever happens.
void PrepareChipsetK7(DriverLink& link);
void PrepareChipsetK8(DriverLink& link);
// Command 0x1203 clears both.
void ClearChipsetPreparedFlags();

// Reads the byte; writes it back with the bit set only when the read succeeded and the bit
// was clear.
void SetPciConfigBit(DriverLink& link, PciAddress address, uint32_t offset, uint8_t bit);

}  // namespace velora
