#pragma once
// PCI configuration spaces as lspci prints them with -x, -xxx or -xxxx (and reads them back with
// -F): a line naming the function ("0000:00:1f.2 SATA controller: ..." or "00:1f.2 0106: ..."),
// then rows "00: 86 80 ..." of 16 bytes, 64, 256 or 4096 bytes per function.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/driver_link.h"

namespace velora {

struct RecordedPciFunction {
  uint32_t domain = 0;
  PciAddress address = 0;
  std::vector<uint8_t> config;  // as many bytes as were recorded: 64, 256 or 4096
};

inline constexpr size_t kLargestPciRecording = 64u << 20;

// False with error ("line 12: ...") when text holds no function or a malformed one.
bool ParsePciRecording(std::string_view text, std::vector<RecordedPciFunction>& functions,
                       std::string& error);

// The form of `lspci -D -n -xxxx` ("0000:00:00.0 0600: 8086:1237 (rev 02)" and its rows).
std::string PciHexText(const std::vector<RecordedPciFunction>& functions);

}  // namespace velora
