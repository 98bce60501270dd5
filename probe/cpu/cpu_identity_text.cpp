#include "probe/cpu/cpu_identity_text.h"

namespace velora {

namespace {

struct MachineRow {
  std::string_view machine;
  std::string_view text;
};

// The kernel's names for the architectures the probe has a text for.
constexpr MachineRow kMachines[] = {
    {"x86_64", "x64"}, {"i386", "x86"},   {"i486", "x86"},     {"i586", "x86"},
    {"i686", "x86"},   {"mips", "MIPS"},  {"mips64", "MIPS"},  {"alpha", "Alpha"},
    {"ppc", "PowerPC"}, {"ppc64", "PowerPC"}, {"ppc64le", "PowerPC"}, {"ia64", "IA64"},
};

}  // namespace

std::string ArchitectureText(std::string_view machine) {
  for (const MachineRow& row : kMachines) {
    if (row.machine == machine) return std::string(row.text);
  }
  return {};
}

void SplitProcessorName(CpuFields& f) {
  size_t open = f.nameWithCodeName.find('(');
  if (open == std::string::npos) {
    f.name = f.nameWithCodeName;
    f.codeName.clear();
  } else {
    // The character before the parenthesis is the blank that separates the two.
    f.name = f.nameWithCodeName.substr(0, open == 0 ? 0 : open - 1);
    size_t close = f.nameWithCodeName.find(')', open + 1);
    f.codeName = f.nameWithCodeName.substr(
        open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  }
  f.vendorPlusName = f.vendorShortName + " " + f.name;
}

}  // namespace velora
