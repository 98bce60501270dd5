#pragma once
// CPUID as recorded: our own "LEAF SUB EAX EBX ECX EDX" lines (one processor), or the raw form
// of the cpuid tool (`cpuid -r`: a "CPU n:" block per logical processor, lines
// "   0x00000000 0x00: eax=0x... ebx=0x... ecx=0x... edx=0x..."). Recordings are untrusted.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/cpuid_source.h"

namespace velora {

using CpuidLeaves = std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters>;

struct RecordedProcessor {
  uint32_t number = 0;  // as the recording numbers it; 0 for our one-processor form
  CpuidLeaves leaves;
};

struct CpuidRecording {
  std::vector<RecordedProcessor> processors;  // in recorded order; at least one when parsed
  // The machine's logical processors: "# logical-processors: N", else the processors of a raw
  // dump; 0 when the recording does not say.
  int32_t logicalProcessors = 0;
};

inline constexpr size_t kLargestCpuidRecording = 4u << 20;
inline constexpr size_t kMostRecordedProcessors = 4096;

// False with error ("line 7: expected ...") when text is neither form.
bool ParseCpuidRecording(std::string_view text, CpuidRecording& recording, std::string& error);

// The raw form, which ParseCpuidRecording and the cpuid tool read back.
std::string CpuidRawText(const CpuidRecording& recording);

}  // namespace velora
