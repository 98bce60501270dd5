// Rise, NexGen, NSC, and every vendor without a table of its own, which the operating
// system's view of the processor names.

#include <string>

#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

bool Rise(const CpuFields& f) { return f.vendorCode == kVendorRise; }

// clang-format off
constexpr NamingRow kRiseRows[] = {
    // family, models, condition, name, platform, process, method, power, flags, L1 I, D
    {5, 0, 0, Rise, "mP6 (iDragon)", "Socket 7", "0.25", 0, 0, 0, 8, 8},
    {5, 8, 8, Rise, "mP6 (iDragon)", "Socket 7", "0.25", 0, 0, 0, 8, 8},
    {5, 2, 2, Rise, "mP6 (iDragon)", "Socket 7", "0.18", 0, 0, 0, 8, 8},
    {5, 9, 9, Rise, "mP6 (iDragon II)", "Socket 7", "0.18", 0, 0, 0, 8, 8},
    {5, 0, kTopModel, Rise, "Unknown CPU", "", ""},
};

constexpr NamingRow kNexGenRow =
    {5, 0, 0, nullptr, "Nx586", "", "0.44/0.50", 0, 0, 0, 16, 16};
// clang-format on

struct MachineRow {
  std::string_view machine;
  SystemArchitecture architecture;
  int32_t type;
};

// Every x86 from the Pentium on reports processor type 586, the 64-bit kernel included: a
// 32-bit program sees its 64-bit host that way.
constexpr MachineRow kMachines[] = {
    {"i386", SystemArchitecture::X86, 386},  {"i486", SystemArchitecture::X86, 486},
    {"i586", SystemArchitecture::X86, 586},  {"i686", SystemArchitecture::X86, 586},
    {"x86_64", SystemArchitecture::X86, 586}, {"mips", SystemArchitecture::Mips, 0},
    {"mips64", SystemArchitecture::Mips, 0}, {"alpha", SystemArchitecture::Alpha, 0},
    {"ppc", SystemArchitecture::PowerPC, 0}, {"ppc64", SystemArchitecture::PowerPC, 0},
    {"ppc64le", SystemArchitecture::PowerPC, 0},
};

struct LevelName {
  int32_t level;
  std::string_view name;
};

constexpr LevelName kMipsLevels[] = {{4, "MIPS R4000"}};
constexpr LevelName kAlphaLevels[] = {
    {21064, "Alpha 21064"}, {21066, "Alpha 21066"}, {21164, "Alpha 21164"}};
constexpr LevelName kPowerPcLevels[] = {
    {1, "PowerPC 601"},  {3, "PowerPC 603"},  {4, "PowerPC 604"},
    {6, "PowerPC 603+"}, {9, "PowerPC 604+"}, {20, "PowerPC 620"}};

template <size_t N>
std::string_view ByLevel(const LevelName (&levels)[N], int32_t level, std::string_view other) {
  for (const LevelName& row : levels) {
    if (row.level == level) return row.name;
  }
  return other;
}

std::string_view NameFromSystem(const CpuFields& f, const SystemProcessor& system) {
  switch (system.architecture) {
    case SystemArchitecture::X86:
      if (system.type == 386) return "386";
      if (system.type == 486) return "486";
      if (system.type == 586) return "Pentium";
      if (f.vendorString == "ConnectixCPU") return "PowerPC";
      if (f.vendorString == "Compaq FX!32") return "Alpha";
      return {};
    case SystemArchitecture::Mips: return ByLevel(kMipsLevels, system.level, "MIPS");
    case SystemArchitecture::Alpha: return ByLevel(kAlphaLevels, system.level, "Alpha");
    case SystemArchitecture::PowerPC: return ByLevel(kPowerPcLevels, system.level, "PowerPC");
    case SystemArchitecture::Unknown: break;
  }
  return "Unknown CPU";
}

}  // namespace

SystemProcessor SystemProcessorFromMachine(std::string_view machine) {
  for (const MachineRow& row : kMachines) {
    if (row.machine == machine) return {row.architecture, row.type, 0};
  }
  return {};
}

void NameGenericProcessor(CpuFields& f, const SystemProcessor& system) {
  if (const NamingRow* row = FindNamingRow(kRiseRows, f)) {
    ApplyNamingRow(*row, f);
    return;
  }
  if (f.vendorCode == kVendorNexGen) {
    if (f.family == 5 && f.model == 0) {
      ApplyNamingRow(kNexGenRow, f);
    } else {
      NameUnknown(f);
    }
    return;
  }
  f.platform.clear();
  f.process.clear();
  f.nameWithCodeName = f.vendorCode == kVendorNsc ? std::string("Geode")
                                                  : std::string(NameFromSystem(f, system));
}

}  // namespace velora
