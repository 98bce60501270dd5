// libFuzzer target over the recording readers: any bytes as every kind. Beyond the sanitizers'
// findings it traps when a reader refuses without a reason, when what it read does not read
// back the same from what its writer makes of it, or when a replayed SMBIOS entry point is not
// in the firmware segment where the probe looks.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/replay/recorded_cpuid.h"
#include "platform/replay/recorded_identify.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"
#include "platform/replay/recording_kind.h"
#include "platform/replay/replay_driver_link.h"
#include "tests/fuzz/fuzz_file.h"
#include "tools/recording_file.h"

namespace {

using namespace velora;

void Check(bool holds) {
  if (!holds) std::abort();
}

void Refused(const std::string& error) { Check(!error.empty()); }

void Cpuid(std::string_view bytes) {
  CpuidRecording first, second;
  std::string error;
  if (!ParseCpuidRecording(bytes, first, error)) return Refused(error);
  Check(ParseCpuidRecording(CpuidRawText(first), second, error));
  Check(first.logicalProcessors == second.logicalProcessors);
  Check(first.processors.size() == second.processors.size());
  for (size_t i = 0; i < first.processors.size(); ++i) {
    Check(first.processors[i].number == second.processors[i].number);
    Check(first.processors[i].leaves.size() == second.processors[i].leaves.size());
    auto b = second.processors[i].leaves.begin();
    for (const auto& [key, r] : first.processors[i].leaves) {
      Check(key == b->first && r.eax == b->second.eax && r.ebx == b->second.ebx &&
            r.ecx == b->second.ecx && r.edx == b->second.edx);
      ++b;
    }
  }
}

void Pci(std::string_view bytes) {
  std::vector<RecordedPciFunction> first, second;
  std::string error;
  if (!ParsePciRecording(bytes, first, error)) return Refused(error);
  Check(ParsePciRecording(PciHexText(first), second, error));
  Check(first.size() == second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    Check(first[i].domain == second[i].domain && first[i].address == second[i].address &&
          first[i].config == second[i].config);
  }
}

// The entry point lies 16-byte aligned in the 64 KB the probe reads at 0xF0000.
void Replayed(const SmbiosRecording& recording) {
  ReplayDriverLink link({}, recording);
  std::vector<uint8_t> segment(0x10000);
  Check(link.ReadPhysicalMemory(0xF0000, segment.data(), segment.size()) == segment.size());
  bool found = false;
  const std::vector<uint8_t>& entry = recording.entryPoint;
  for (size_t at = 0; at + 4 <= segment.size() && !found; at += 16) {
    found = std::equal(entry.begin(), entry.begin() + 4, segment.begin() + at);
  }
  Check(found);
  uint8_t byte = 0;
  (void)link.ReadPhysicalMemory(recording.tableAddress, &byte, 1);
}

void Smbios(std::string_view bytes) {
  SmbiosRecording first, second, pair;
  std::string error;
  if (ParseSmbiosRecording(bytes, first, error)) {
    const std::string dump = SmbiosDumpBin(first);
    Check(ParseSmbiosRecording(dump, second, error));
    Check(second.table == first.table && second.tableAddress == 0x20);
    Check(SmbiosDumpBin(second) == dump);
    Replayed(first);
  } else {
    Refused(error);
  }
  // The same bytes as the pair Linux exposes: the entry point file and the table file.
  const size_t split = std::min<size_t>(bytes.size(), 0x1F);
  if (ParseSmbiosPair(bytes.substr(0, split), bytes.substr(split), pair, error)) {
    Replayed(pair);
  } else {
    Refused(error);
  }
}

void Identify(std::string_view bytes) {
  IdentifyBlock first{}, second{};
  std::string error;
  if (!ParseIdentifyText(bytes, first, error)) return Refused(error);
  Check(ParseIdentifyText(IdentifyText(first), second, error));
  Check(first == second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)RecordingKindName(DetectRecordingKind(bytes));
  Cpuid(bytes);
  Pci(bytes);
  Smbios(bytes);
  Identify(bytes);
  // As probix-dump reads a named file, and prints what the probe makes of it.
  std::string read, error;
  if (ReadRecordingFile(fuzz::FuzzFile(data, size), 1u << 20, read, error)) {
    Check(read == bytes);
  } else {
    Check(!error.empty() && size == 0);
  }
  (void)QuotedProbeText(std::string(bytes).c_str());
  return 0;
}
