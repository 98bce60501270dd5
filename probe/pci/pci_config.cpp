#include "probe/pci/pci_config.h"

#include <cstring>

namespace velora {

uint32_t ReadPciConfigByte(DriverLink& link, PciAddress address, uint32_t offset) {
  uint8_t value = 0;
  uint32_t error = link.ReadPciConfig(address, offset, &value, 1);
  return error == 0 ? value : (error | 0xFF);
}

uint32_t ReadPciConfigDword(DriverLink& link, PciAddress address, uint32_t offset) {
  uint32_t value = 0;
  return link.ReadPciConfig(address, offset, &value, 4) == 0 ? value : 0xFFFFFFFFu;
}

uint32_t WritePciConfigByte(DriverLink& link, PciAddress address, uint32_t offset,
                            uint32_t value) {
  uint8_t byte = static_cast<uint8_t>(value);
  return link.WritePciConfig(address, offset, &byte, 1);
}

namespace {

// Walks bus 0-255, device 0-31, function 0-7, reading `Bytes` bytes at offset 0 of each
// function. Functions 1-7 are visited only when function 0 says it is multi-function.
template <size_t Bytes, typename Match>
uint32_t WalkPciBus(DriverLink& link, uint32_t index, const Match& matches) {
  uint32_t counter = 0;
  for (uint32_t bus = 0; bus < 256; ++bus) {
    for (uint32_t device = 0; device < 32; ++device) {
      bool multiFunction = false;
      for (uint32_t function = 0; function < 8; ++function) {
        if (function > 0 && !multiFunction) break;
        PciAddress address = MakePciAddress(bus, device, function);
        uint8_t header[Bytes] = {};
        uint32_t error = link.ReadPciConfig(address, 0, header, Bytes);
        if (error == kPciErrorAbort) return kPciDeviceNotFound;
        if (error == kPciErrorDeviceAbsent && function == 0) break;
        if (error != 0) continue;
        if (function == 0) {
          uint8_t headerType = 0;
          multiFunction =
              link.ReadPciConfig(address, 0x0E, &headerType, 1) == 0 && (headerType & 0x80);
        }
        if (matches(header)) {
          if (counter == index) return address << 16;
          ++counter;
        }
      }
    }
  }
  return kPciDeviceNotFound;
}

uint32_t LoadDword(const uint8_t* bytes) {
  uint32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}

}  // namespace

uint32_t FindPciDevice(DriverLink& link, uint32_t vendor, uint32_t device, uint32_t index) {
  vendor &= 0xFFFF;
  if (vendor == 0xFFFF) return kPciBadVendorId;
  const uint32_t wanted = vendor | (device & 0xFFFF) << 16;
  return WalkPciBus<4>(link, index,
                       [&](const uint8_t* header) { return LoadDword(header) == wanted; });
}

uint32_t FindPciClass(DriverLink& link, uint32_t base, uint32_t sub, uint32_t interface,
                      uint32_t index) {
  const uint32_t wanted = ((base << 16 | sub << 8 | interface) & 0xFFFFFF) << 8;
  return WalkPciBus<12>(link, index, [&](const uint8_t* header) {
    return (LoadDword(header + 8) & 0xFFFFFF00u) == wanted;
  });
}

}  // namespace velora
