#pragma once
// SMBIOS tables as recorded: the layout of `dmidecode --dump-bin` (entry point at 0, table at
// 0x20, whatever address the entry point names), the pair Linux exposes (smbios_entry_point and
// DMI), or a bare structure table, for which an SMBIOS 3.0 entry point is made up.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velora {

struct SmbiosRecording {
  std::vector<uint8_t> entryPoint;  // "_SM_", "_SM3_" or "_DMI_" structure, as the firmware wrote it
  uint64_t tableAddress = 0;        // where the entry point says the table lies
  std::vector<uint8_t> table;
};

inline constexpr size_t kLargestSmbiosRecording = 16u << 20;

// A dump-bin file or a bare table; false with error when it is neither.
bool ParseSmbiosRecording(std::string_view bytes, SmbiosRecording& recording, std::string& error);
// The pair from /sys/firmware/dmi/tables.
bool ParseSmbiosPair(std::string_view entryPoint, std::string_view table,
                     SmbiosRecording& recording, std::string& error);

// The dump-bin layout: the entry point at 0 with its table address set to 0x20 and its
// checksums mended, the table at 0x20.
std::string SmbiosDumpBin(const SmbiosRecording& recording);

}  // namespace velora
