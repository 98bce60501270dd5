// Transmeta Crusoe and Efficeon, told apart by the model number in the brand string.

#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

template <const char* kNumber>
bool BrandNumber(const CpuFields& f) {
  return BrandHas(f, kNumber);
}

constexpr char k8800[] = "8800", k8600[] = "8600", k8500[] = "8500", k8300[] = "8300",
               k8820[] = "8820", k8620[] = "8620";
constexpr char k3120[] = "3120", k3200[] = "3200", k5400[] = "5400", k5600[] = "5600",
               k5500[] = "5500", k5800[] = "5800", k5700[] = "5700", k5900[] = "5900";

constexpr std::string_view kModule = "Mobile Module";

// clang-format off
constexpr NamingRow kTransmetaRows[] = {
    // family, models, condition, name, platform, process, method, power, flags
    {15, 2, 2, BrandNumber<k8800>, "Efficeon TM8800", kModule, "0.09"},
    {15, 2, 2, BrandNumber<k8600>, "Efficeon TM8600 (Astro)", kModule, "0.13"},
    {15, 2, 2, BrandNumber<k8500>, "Efficeon TM8500 (Astro)", kModule, "0.13"},
    {15, 2, 2, BrandNumber<k8300>, "Efficeon TM8300 (Astro)", kModule, "0.13"},
    {15, 2, 2, BrandNumber<k8820>, "Efficeon TM8820 (Astro)", kModule, "0.13"},
    {15, 2, 2, BrandNumber<k8620>, "Efficeon TM8620 (Astro)", kModule, "0.13"},
    {15, 2, 2, nullptr, "Efficeon (Astro)", kModule, "0.13"},
    {5, 4, 4, BrandNumber<k3120>, "Crusoe TM3120", kModule, "0.22", 0, 0, kNoDynamicClock},
    {5, 4, 4, BrandNumber<k3200>, "Crusoe TM3200", kModule, "0.22", 0, 0, kNoDynamicClock},
    {5, 4, 4, BrandNumber<k5400>, "Crusoe TM5400", kModule, "0.18"},
    {5, 4, 4, BrandNumber<k5600>, "Crusoe TM5600", kModule, "0.18"},
    {5, 4, 4, BrandNumber<k5500>, "Crusoe TM5500", kModule, "0.13"},
    {5, 4, 4, BrandNumber<k5800>, "Crusoe TM5800", kModule, "0.13"},
    {5, 4, 4, BrandNumber<k5700>, "Crusoe TM5700", kModule, "0.13"},
    {5, 4, 4, BrandNumber<k5900>, "Crusoe TM5900", kModule, "0.13"},
    {kAnyFamily, 0, kTopModel, nullptr, "Unknown CPU", kModule, ""},
};
// clang-format on

}  // namespace

void NameTransmetaProcessor(CpuFields& f) {
  // Every Transmeta part clocks itself dynamically unless its row says otherwise.
  f.warmUpNeeded = 1;
  f.longRun = 1;
  ApplyNamingRow(*FindNamingRow(kTransmetaRows, f), f);
}

}  // namespace velora
