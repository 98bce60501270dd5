#pragma once
// The scanned PCI functions, column by column as the ids address them.

#include <array>
#include <cstdint>
#include <string>

namespace velora {

constexpr uint32_t kPciTableEntries = 128;
constexpr size_t kPciTableTextCapacity = 63;

struct PciDeviceTable {
  template <typename T>
  using Column = std::array<T, kPciTableEntries>;

  Column<uint32_t> vendor{};
  Column<uint32_t> device{};
  Column<uint32_t> revision{};
  Column<uint32_t> subsystem{};
  Column<uint32_t> classCode{};
  Column<uint32_t> bus{};
  Column<uint32_t> deviceNumber{};
  Column<uint32_t> function{};
  Column<std::string> className;
  Column<std::string> vendorName;
  Column<std::string> deviceName;
  Column<std::string> subsystemVendorName;
};

}  // namespace velora
