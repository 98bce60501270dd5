#pragma once
// What a single recorded file holds, found from its content alone (never its name).

#include <string_view>

namespace velora {

enum class RecordingKind { kUnknown, kCpuid, kPci, kSmbios, kIdentify };

RecordingKind DetectRecordingKind(std::string_view bytes);

// "CPUID", "PCI", "SMBIOS", "IDENTIFY"; "unknown".
const char* RecordingKindName(RecordingKind kind);

// For the error about a file of no known kind.
inline constexpr const char* kAcceptedRecordingKinds =
    "CPUID (LEAF SUB EAX EBX ECX EDX lines, or cpuid -r), PCI (lspci -x, -xxx or -xxxx), SMBIOS "
    "(dmidecode --dump-bin, an entry point with its table, or a bare table), IDENTIFY (hdparm "
    "--Istdin)";

}  // namespace velora
