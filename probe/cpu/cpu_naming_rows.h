#pragma once
// Shared shape of the classic naming tables: rows tried in order, first match wins. A row names
// the processor and carries the side effects the clock, cache and power steps read later.

#include <cstdint>
#include <span>
#include <string_view>

#include "probe/cpu/cpu_fields.h"

namespace velora {

inline constexpr int32_t kAnyFamily = -1;
inline constexpr int32_t kTopModel = 255;

// Side effects a row may carry, besides method, power type and cache defaults.
enum NamingFlag : uint32_t {
  kHalfSpeedL2 = 1u << 0,
  kWarmUp = 1u << 1,
  kViaShortName = 1u << 2,     // the vendor short name becomes "VIA"
  kSempronFlag = 1u << 3,
  kPentiumXeCores = 1u << 4,   // two cores with two logical processors each
  kPentiumDCores = 1u << 5,    // two cores without Hyper-Threading
  kPlatformById = 1u << 6,     // platform from the platform identifier (Pentium 4 models 2 to 4)
  kNoDynamicClock = 1u << 7,   // clears warm-up and LongRun again (the slow Crusoe parts)
};

using NamingCondition = bool (*)(const CpuFields&);

struct NamingRow {
  int32_t family;  // kAnyFamily matches every family
  int32_t modelLow;
  int32_t modelHigh;
  NamingCondition when;  // null: always
  std::string_view name;
  std::string_view platform;
  std::string_view process;
  int32_t method = 0;  // 0 leaves MultiplierMethod as it is
  int32_t power = 0;   // 0 leaves PowerControlType as it is
  uint32_t flags = 0;
  int32_t l1Instruction = 0;  // cache defaults in KB, 0 for none
  int32_t l1Data = 0;
  int32_t l1Unified = 0;
};

// The first row that matches family, model and condition, or null.
const NamingRow* FindNamingRow(std::span<const NamingRow> rows, const CpuFields& f);

// Writes name, platform and process of the row and its side effects.
void ApplyNamingRow(const NamingRow& row, CpuFields& f);

// "Unknown CPU" with empty platform and process.
void NameUnknown(CpuFields& f);

// Substring test on the brand string.
inline bool BrandHas(const CpuFields& f, std::string_view text) {
  return f.brandString.find(text) != std::string::npos;
}

// An unknown platform identifier (-1 before the registers are read) is not odd.
inline bool OddPlatformId(const CpuFields& f) { return f.platformId >= 0 && (f.platformId & 1) != 0; }

// What the operating system says about the processor, in the terms the generic table uses.
enum class SystemArchitecture { Unknown, X86, Mips, Alpha, PowerPC };

struct SystemProcessor {
  SystemArchitecture architecture = SystemArchitecture::Unknown;
  int32_t type = 0;   // 386, 486 or 586 on x86
  int32_t level = 0;  // MIPS, Alpha and PowerPC model level; 0 when unknown
};

// From the kernel's machine name ("x86_64", "i686", "mips", ...).
SystemProcessor SystemProcessorFromMachine(std::string_view machine);

void NameIntelProcessor(CpuFields& f);
void NameAmdProcessor(CpuFields& f);
// The K8s of revision F and G (AM2, S1g1, Socket F), which the brand table does not describe:
// name from the brand string, code name of the die, package from the model, process.
void NameK8RevisionF(CpuFields& f);
void NameTransmetaProcessor(CpuFields& f);
void NameCyrixIdtProcessor(CpuFields& f);
void NameGenericProcessor(CpuFields& f, const SystemProcessor& system);

}  // namespace velora
