#include "info/cpu_page_data.h"

#include <cstdio>
#include <cstdlib>

#include "info/cpu_extensions.h"
#include "probe/probe_id_table.h"

namespace velora {

const std::array<const char*, kCpuLabelCount> kCpuLabelNames{
    "MMX",      "MMX+",   "SSE",   "SSE2",  "SSE3", "3DNow!",    "3DNow!+",
    "HTT",      "AMD64",  "IA-64", "EM64T", "NX",   "SpeedStep", "PowerNow!/Cool'n'Quiet",
    "LongHaul", "LongRun"};

namespace {

namespace ids = probe_id;

class Reader {
 public:
  explicit Reader(ProbeObject& probe) : probe_(probe) {}
  std::string Text(uint32_t id) {
    char buffer[kProbeTextCapacity] = "";
    if (probe_.GetString(id, buffer) != 0) return {};
    buffer[kProbeTextCapacity - 1] = '\0';
    return buffer;
  }
  std::string Number(uint32_t id) {
    char buffer[kProbeTextCapacity] = "";
    probe_.GetNumberString(id, buffer);
    buffer[kProbeTextCapacity - 1] = '\0';
    return buffer;
  }
  int32_t Int(uint32_t id) {
    int32_t value = -1;
    if (probe_.GetInt(id, &value) != 0) return -1;
    return value;
  }

 private:
  ProbeObject& probe_;
};

std::string Printf(const char* format, long long v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string Fixed(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// A text shown only when it reads as a number above 0.
std::string IfPositive(const std::string& text) {
  return std::atof(text.c_str()) > 0 ? text : std::string();
}

std::string DetailRow(const std::string& size, const std::string& unit, const std::string& ways,
                      const std::string& line, bool withLine) {
  std::string text = size + " " + unit + ", " + ways + " way set associative";
  if (withLine) text += ", " + line + " byte line size";
  return text + ".";
}

constexpr uint32_t kLabelIds[kCpuLabelCount] = {
    ids::kCpuMmx,           ids::kCpuAmdMmx,         ids::kCpuSse,
    ids::kCpuSse2,          ids::kCpuSse3,           ids::kCpu3DNow,
    ids::kCpu3DNowExt,      ids::kCpuHyperThreading, ids::kCpuAmd64,
    ids::kCpuLeaf1EdxBit30, ids::kCpuEm64t,          ids::kCpuNx,
    ids::kCpuSpeedStep,     ids::kCpuAmdFidVid,      ids::kCpuViaPowerControl,
    ids::kCpuLongRun};
// The last four mean "capable" only above 0; the others are plain flags, -1 leaving them off.
constexpr int kFirstPowerLabel = 12;

}  // namespace

std::string OsLine(const OsIdentity& os) {
  std::string line = os.name;
  if (!os.edition.empty()) line += " " + os.edition;
  if (!os.servicePack.empty()) line += " " + os.servicePack;
  line += " [ " + os.version + " Build " + os.build + " ]";
  const std::string from = "Service Pack ";
  for (size_t at = line.find(from); at != std::string::npos; at = line.find(from, at + 2)) {
    line.replace(at, from.size(), "SP");
  }
  return line;
}

int ProcessorIndexOfItem(const std::string& item) {
  if (item.rfind("CPU", 0) != 0) return -1;
  char* end = nullptr;
  long n = std::strtol(item.c_str() + 3, &end, 10);
  if (end == item.c_str() + 3 || *end != '\0' || n < 1 || n > 32) return -1;
  return static_cast<int>(n - 1);
}

CpuPageData BuildCpuPageData(ProbeObject& probe, int selectedIndex, const OsIdentity& os,
                             uint64_t memoryBytes) {
  Reader r(probe);
  CpuPageData p;
  p.selectedIndex = selectedIndex;
  p.vendorString = r.Text(ids::kCpuVendorString);
  p.cpuName = r.Text(ids::kCpuVendorPlusName);
  p.nameString = r.Text(ids::kCpuBrandString);
  p.codeName = r.Text(ids::kCpuCodeName);
  p.process = r.Text(ids::kCpuProcess);
  p.platform = r.Text(ids::kCpuPlatform);
  if (int32_t v = r.Int(ids::kCpuPlatformId); v > 0) p.platformId = Printf("%lld", v);
  p.cpuType = r.Text(ids::kCpuProcessorTypeText);
  if (int32_t v = r.Int(ids::kCpuProcessorTypeAgain); v >= 0) {
    p.processorTypeNumber = Printf("%llX", v);
  }
  p.busRateName = r.Text(ids::kCpuBusRateName);

  p.internalClockCurrent = IfPositive(r.Text(ids::kCpuCoreClock));
  p.noClock = p.internalClockCurrent.empty();
  p.internalClockOriginal = IfPositive(r.Text(ids::kCpuRatedClock));
  p.systemClockCurrent = IfPositive(r.Text(ids::kCpuBusClock));
  p.systemClockOriginal = IfPositive(r.Text(ids::kCpuNominalBusClock));
  p.systemBusCurrent = IfPositive(r.Text(ids::kCpuEffectiveBusClock));
  p.systemBusOriginal = IfPositive(r.Text(ids::kCpuNominalEffectiveBusClock));
  p.multiplierCurrent = IfPositive(r.Text(ids::kCpuMultiplier));
  p.multiplierOriginal = IfPositive(r.Text(ids::kCpuOriginalMultiplier));

  if (int32_t v = r.Int(ids::kCpuProcessors); v > 0) p.number = Printf("%lld", v);
  if (int32_t v = r.Int(ids::kCpuMicrocodeSignature); v > 0) p.microcodeId = Printf("%02llX", v);
  if (int32_t v = r.Int(ids::kCpuBrandId); v > 0) p.brandId = Printf("%02llX", v);
  if (int32_t v = r.Int(ids::kCpuApicId); v >= 0) p.apic = Printf("%02llX", v);
  if (int32_t v = r.Int(ids::kCpuLogicalPerCore); v > 0) p.htt = Printf("%lld", v);
  p.architecture = r.Number(ids::kCpuArchitecture);

  const bool modelExShown = r.Int(ids::kCpuExtendedModel) > 0;
  if (r.Int(ids::kCpuLeaf1Eax) != 0) {
    p.family = r.Number(ids::kCpuFamily);
    p.model = r.Number(ids::kCpuModel);
    p.stepping = r.Number(ids::kCpuStepping);
    if (p.family == "F") p.familyEx = r.Number(ids::kCpuExtendedFamily);
    if (modelExShown || p.model == "F") p.modelEx = r.Number(ids::kCpuExtendedModel);
  }
  if (r.Int(ids::kCpuExtLeaf1Eax) != 0) {
    p.generation = r.Number(ids::kCpuExtLeafFamily);
    p.extendedModel = r.Number(ids::kCpuExtLeafModel);
    p.extendedStepping = r.Number(ids::kCpuExtLeafStepping);
    if (p.generation == "F") p.extendedFamilyEx = r.Number(ids::kCpuExtendedFamily);
    if (modelExShown || p.extendedModel == "F") {
      p.extendedModelEx = r.Number(ids::kCpuExtendedModel);
    }
  }

  const double current = std::atof(p.internalClockCurrent.c_str());
  const double original = std::atof(p.internalClockOriginal.c_str());
  if (current > 0 && original > 0) p.overClock = Fixed("%.2f", current / original * 100 - 100);

  const int32_t processors = r.Int(ids::kCpuProcessors);
  for (int32_t i = 1; i <= processors && i <= 32; ++i)
    p.processors.push_back(Printf("CPU%2lld", i));

  for (int i = 0; i < kCpuLabelCount; ++i) {
    const int32_t v = r.Int(kLabelIds[i]);
    p.labels[static_cast<size_t>(i)] = i < kFirstPowerLabel ? (v != -1 && v != 0) : v > 0;
  }

  p.extensions = InstructionExtensions(ReadCpuFlagRegisters(probe));
  p.memory = Printf("%lld", static_cast<long long>(memoryBytes / 1048576 + 1));

  // The first cache line: the last of unified, instruction and trace cache that is above 0.
  struct First {
    uint32_t id;
    const char* label;
    const char* unit;
  };
  for (First f : {First{ids::kCpuL1UnifiedKb, "L1 Unified", "KB"},
                  First{ids::kCpuL1InstructionKb, "L1 I-Cache", "KB"},
                  First{ids::kCpuTraceCacheKuops, "L1 T-Cache", "KuOps"}}) {
    if (int32_t v = r.Int(f.id); v > 0) {
      p.firstCacheLabel = f.label;
      p.firstCacheUnit = f.unit;
      p.firstCacheValue = Printf("%lld", v);
    }
  }
  if (int32_t v = r.Int(ids::kCpuL1DataKb); v > 0) p.l1Data = Printf("%lld", v);
  if (int32_t v = r.Int(ids::kCpuL2Kb); v > 0) p.l2 = Printf("%lld", v);
  if (int32_t v = r.Int(ids::kCpuL3Kb); v > 0) p.l3 = Printf("%lld", v);
  p.l2Speed = r.Text(ids::kCpuL2SpeedRatioText);
  const double ratio = std::atof(r.Text(ids::kCpuL2SpeedRatio).c_str());
  if (ratio > 0) p.l2Clock = Fixed("%4.2f", current * ratio);

  auto detail = [&](uint32_t offset) {
    return std::pair{r.Int(ids::kCpuCacheDetail + offset), r.Text(ids::kCpuCacheDetail + offset)};
  };
  auto [firstWays, firstWaysText] = detail(0);
  if (firstWays > 0) {
    const std::string line = r.Text(ids::kCpuCacheDetail + 1);
    // The first cache's size is in KB, or in thousands of micro-operations for a trace cache.
    const int64_t firstKb = p.firstCacheUnit == "KB" ? std::atoll(p.firstCacheValue.c_str()) : 0;
    p.cacheRows.push_back({p.firstCacheLabel,
                           DetailRow(p.firstCacheValue, p.firstCacheUnit, firstWaysText, line,
                                     std::atof(line.c_str()) >= 1),
                           firstKb, firstWays, std::atoll(line.c_str())});
  }
  const std::pair<const char*, const std::string*> others[] = {
      {"L1 D-Cache", &p.l1Data}, {"L2 Cache", &p.l2}, {"L3 Cache", &p.l3}};
  for (uint32_t i = 0; i < 3; ++i) {
    auto [ways, waysText] = detail(2 + 2 * i);
    if (ways <= 0) continue;
    const std::string line = r.Text(ids::kCpuCacheDetail + 3 + 2 * i);
    p.cacheRows.push_back({others[i].first,
                           DetailRow(*others[i].second, "KB", waysText, line, true),
                           std::atoll(others[i].second->c_str()), ways, std::atoll(line.c_str())});
  }

  char raw[128];
  std::snprintf(raw, sizeof raw, "EAX = %08X, EDX = %08X\r\nEAX = %08X, EDX = %08X\r\n",
                static_cast<uint32_t>(r.Int(ids::kCpuClockRegister1Low)),
                static_cast<uint32_t>(r.Int(ids::kCpuClockRegister1High)),
                static_cast<uint32_t>(r.Int(ids::kCpuClockRegister2Low)),
                static_cast<uint32_t>(r.Int(ids::kCpuClockRegister2High)));
  p.rawRegisters = raw;
  p.osLine = OsLine(os);
  return p;
}

PageView CpuPageView(const CpuPageData& p) {
  PageView v;
  v.name = "CPU";
  v.groups = {
      {"",
       {{"Vendor String", p.vendorString},
        {"CPU Name", p.cpuName},
        {"Name String", p.nameString},
        {"Code Name", p.codeName},
        {"Process (um)", p.process},
        {"Platform", p.platform},
        {"Platform ID", p.platformId},
        {"CPU Type", p.cpuType},
        {"Type Number", p.processorTypeNumber},
        {"Bus", p.busRateName}}},
      {"Clock",
       {{"Internal Clock, Current", p.internalClockCurrent},
        {"Internal Clock, Original", p.internalClockOriginal},
        {"System Clock, Current", p.systemClockCurrent},
        {"System Clock, Original", p.systemClockOriginal},
        {"System Bus, Current", p.systemBusCurrent},
        {"System Bus, Original", p.systemBusOriginal},
        {"Multiplier, Current", p.multiplierCurrent},
        {"Multiplier, Original", p.multiplierOriginal},
        {"Over Clock (%)", p.overClock}}},
      {"(Standard)",
       {{"Family", p.family},
        {"Model", p.model},
        {"Stepping", p.stepping},
        {"FamilyEx", p.familyEx},
        {"ModelEx", p.modelEx}}},
      {"(Extended)",
       {{"Generation", p.generation},
        {"Model", p.extendedModel},
        {"Stepping", p.extendedStepping},
        {"FamilyEx", p.extendedFamilyEx},
        {"ModelEx", p.extendedModelEx}}},
      {"",
       {{"Number", p.number},
        {"Microcode ID", p.microcodeId},
        {"Brand ID", p.brandId},
        {"APIC", p.apic},
        {"HTT", p.htt},
        {"Architecture", p.architecture},
        {"Memory (MB)", p.memory}}},
      {"Cache",
       {{p.firstCacheLabel + " (" + p.firstCacheUnit + ")", p.firstCacheValue},
        {"L1 D-Cache (KB)", p.l1Data},
        {"L2 Cache (KB)", p.l2},
        {"L3 Cache (KB)", p.l3},
        {"L2 Speed", p.l2Speed},
        {"L2 Clock", p.l2Clock}}},
  };
  PageGroup labels{"Features", {}};
  for (int i = 0; i < kCpuLabelCount; ++i) {
    PageField field{kCpuLabelNames[static_cast<size_t>(i)], "", true,
                    p.labels[static_cast<size_t>(i)]};
    labels.fields.push_back(field);
  }
  v.groups.push_back(labels);
  std::string raw = p.rawRegisters;
  std::erase(raw, '\r');
  while (!raw.empty() && raw.back() == '\n') raw.pop_back();
  for (char& c : raw) {
    if (c == '\n') c = ';';
  }
  v.groups.push_back({"", {{"OS", p.osLine}, {"Registers", raw}}});
  PageTable caches{"Cache", {"Cache", "Detail Info"}, {}};
  for (const CpuCacheRow& row : p.cacheRows) caches.rows.push_back({row.cache, row.detail});
  v.tables.push_back(caches);
  PageTable selector{"Processor", {"CPU"}, {}};
  for (size_t i = 0; i < p.processors.size(); ++i) {
    selector.rows.push_back(
        {p.processors[i] + (static_cast<int>(i) == p.selectedIndex ? " *" : "")});
  }
  v.tables.push_back(selector);
  return v;
}

}  // namespace velora
