#include "platform/replay/recording_kind.h"

#include <string>
#include <vector>

#include "platform/replay/recorded_cpuid.h"
#include "platform/replay/recorded_identify.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"

namespace velora {

// Each reader accepts only its own form, so at most one of them takes a file; the text
// kinds are tried first, the bare SMBIOS table (binary, with a loose shape) last.
RecordingKind DetectRecordingKind(std::string_view bytes) {
  std::string error;
  if (bytes.empty()) return RecordingKind::kUnknown;
  if (bytes.find('\0') == std::string_view::npos) {
    IdentifyBlock block{};
    if (ParseIdentifyText(bytes, block, error)) return RecordingKind::kIdentify;
    std::vector<RecordedPciFunction> functions;
    if (ParsePciRecording(bytes, functions, error)) return RecordingKind::kPci;
    CpuidRecording cpuid;
    if (ParseCpuidRecording(bytes, cpuid, error)) return RecordingKind::kCpuid;
    return RecordingKind::kUnknown;
  }
  SmbiosRecording smbios;
  if (ParseSmbiosRecording(bytes, smbios, error)) return RecordingKind::kSmbios;
  return RecordingKind::kUnknown;
}

const char* RecordingKindName(RecordingKind kind) {
  switch (kind) {
    case RecordingKind::kCpuid: return "CPUID";
    case RecordingKind::kPci: return "PCI";
    case RecordingKind::kSmbios: return "SMBIOS";
    case RecordingKind::kIdentify: return "IDENTIFY";
    case RecordingKind::kUnknown: break;
  }
  return "unknown";
}

}  // namespace velora
