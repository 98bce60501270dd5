#include "server/body_keys.h"

namespace velora::server {

const std::vector<std::string> kTestKeys = {"ALU", "FPU", "MEM", "HDD", "MMT",
                                            "GDI", "D2D", "D3D", "OGL", "NET"};

namespace {

using enum ValueKind;

struct KeyRun {
  ValueKind kind;
  std::vector<const char*> names;
};

// One row per group of the body, in body order; the numbered groups are added in between.
const KeyRun kHead[] = {
    {kText, {"UserName", "Machine", "Area", "Country", "Mail", "Web", "Password", "Comment"}},
    {kText, {"CpuNameUser", "MotherUser", "ChipSetUser", "VideoUser"}},
    {kInteger, {"VideoSizeUser"}},
    {kText, {"MemoryUser"}},
    {kInteger, {"MemorySizeUser"}},
    {kText, {"DiskName"}},
    {kDecimal, {"DiskSize"}},
    {kFlag, {"RaidOn"}},
    {kText, {"RaidController", "RaidType"}},
};

const KeyRun kMiddle[] = {
    {kDecimal,
     {"ClockUser", "ClockOriUser", "SystemClockUser", "SystemClockOriUser", "MultiplierUser",
      "MultiplierOriUser", "OverClockUser"}},
    {kText, {"CpuName", "CodeName", "Platform", "CpuType"}},
    {kDecimal,
     {"Clock", "ClockOri", "SystemClock", "SystemClockOri", "SystemBus", "SystemBusOri",
      "Multiplier", "MultiplierOri", "OverClock"}},
    {kText, {"DataRate", "VendorString", "NameString"}},
    {kInteger,
     {"Apic", "BrandID", "Family", "ExFamily", "FamilyEx", "Model", "ExModel", "Stepping",
      "ExStepping"}},
    {kInteger, {"CpuNumber", "HyperThreadNum", "L1I", "L1T", "L1U", "L1D", "L2", "L3"}},
    {kDecimal, {"L2SpeedMHz"}},
    {kText, {"L2Speed"}},
    {kText, {"OsName", "OsServicePack"}},
    {kInteger, {"OsVersionMajor", "OsVersionMinor", "OsVersionBuild", "OsType"}},
    {kText,
     {"BiosVendor", "BiosCaption", "BiosVersion", "BiosDate", "SmBiosCaption", "SmBiosVersion",
      "SystemVendor", "SystemModel", "MotherVendor", "MotherProduct", "MotherVersion"}},
    {kText,
     {"ChipSet", "North", "South", "IdeController", "Video", "DirectX", "VideoProduct",
      "VideoVendor", "VideoChip"}},
    {kInteger, {"VideoRam"}},
    {kText, {"VideoDriverVersion", "VideoDriverDate"}},
    {kInteger,
     {"NorthVID", "SouthVID", "VideoVID", "NorthDID", "SouthDID", "VideoDID", "NorthRID",
      "SouthRID", "VideoRID"}},
    {kText, {"ProcessorMask"}},
    {kInteger, {"BenchDiskSize"}},
    {kText, {"DisplayMode", "FontSmoothing"}},
    {kInteger, {"DISP1", "DISP2", "DISP3", "DISP4"}},
    {kInteger, {"Mark"}},
};

// The version pairs keep the blank after the product word, so they are texts.
const KeyRun kTail[] = {
    {kText, {"Major", "Minor", "Revision", "Release"}},
    {kCheck, {"check"}},
};

void Append(std::vector<BodyKey>& keys, const KeyRun& run) {
  for (const char* name : run.names) keys.push_back({name, run.kind});
}

std::vector<BodyKey> BuildKeys() {
  std::vector<BodyKey> keys;
  for (const KeyRun& run : kHead) Append(keys, run);
  constexpr int kRaidMembers = 8;
  for (int n = 1; n <= kRaidMembers; ++n) keys.push_back({"RaidDisk" + std::to_string(n), kText});
  for (int n = 1; n <= kRaidMembers; ++n) {
    keys.push_back({"RaidDisk" + std::to_string(n) + "Size", kDecimal});
  }
  for (const KeyRun& run : kMiddle) Append(keys, run);
  for (const std::string& test : kTestKeys) keys.push_back({"T" + test, kInteger});
  constexpr int kSubTests = 8;
  for (const std::string& test : kTestKeys) {
    for (int n = 1; n <= kSubTests; ++n) {
      keys.push_back({test + std::to_string(n), kInteger});
      keys.push_back({test + std::to_string(n) + "V", kInteger});
    }
  }
  for (const KeyRun& run : kTail) Append(keys, run);
  return keys;
}

}  // namespace

const std::vector<BodyKey>& RegistrationKeys() {
  static const std::vector<BodyKey> keys = BuildKeys();
  return keys;
}

}  // namespace velora::server
