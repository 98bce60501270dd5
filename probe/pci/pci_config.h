#pragma once
// PCI configuration access over the driver link, with the PCI BIOS status convention for the
// searches: PciAddress << 16 on success (low byte 0), 0x83 for a bad vendor id, 0x86 when
// nothing was found. Callers test the low byte against 0x86.

#include <cstdint>

#include "platform/driver_link.h"

namespace velora {

constexpr uint32_t kPciBadVendorId = 0x83;
constexpr uint32_t kPciDeviceNotFound = 0x86;

// The byte (0 to 255); on failure the error code with its low 8 bits set.
uint32_t ReadPciConfigByte(DriverLink& link, PciAddress address, uint32_t offset);
// 0xFFFFFFFF on failure.
uint32_t ReadPciConfigDword(DriverLink& link, PciAddress address, uint32_t offset);
// 0 or the error code; only the low 8 bits of value are written.
uint32_t WritePciConfigByte(DriverLink& link, PciAddress address, uint32_t offset,
                            uint32_t value);

// The index-th function (from 0) with this vendor and device id, in bus order.
uint32_t FindPciDevice(DriverLink& link, uint32_t vendor, uint32_t device, uint32_t index);
// The index-th function whose class-code bytes are base, sub and interface.
uint32_t FindPciClass(DriverLink& link, uint32_t base, uint32_t sub, uint32_t interface,
                      uint32_t index);

}  // namespace velora
