#include "ranking/ranking_form_keys.h"

#include <array>
#include <cstdlib>

namespace velora {

namespace {

struct FormKey {
  const char* key;
  std::string RankingForm::*field;
};

// The body's keys of the form's text fields; RaidOn and the member disks are handled apart.
constexpr std::array<FormKey, 26> kFormKeys{{
    {"UserName", &RankingForm::userName},
    {"Machine", &RankingForm::machineName},
    {"Area", &RankingForm::area},
    {"Country", &RankingForm::country},
    {"Mail", &RankingForm::mail},
    {"Web", &RankingForm::web},
    {"Password", &RankingForm::password},
    {"Comment", &RankingForm::comment},
    {"CpuNameUser", &RankingForm::cpuName},
    {"MotherUser", &RankingForm::motherBoard},
    {"ChipSetUser", &RankingForm::chipSet},
    {"VideoUser", &RankingForm::video},
    {"VideoSizeUser", &RankingForm::videoMemory},
    {"MemoryUser", &RankingForm::memory},
    {"MemorySizeUser", &RankingForm::memorySize},
    {"DiskName", &RankingForm::disk},
    {"DiskSize", &RankingForm::diskSize},
    {"RaidController", &RankingForm::raidController},
    {"RaidType", &RankingForm::raidType},
    {"ClockUser", &RankingForm::clock},
    {"ClockOriUser", &RankingForm::clockOriginal},
    {"SystemClockUser", &RankingForm::systemClock},
    {"SystemClockOriUser", &RankingForm::systemClockOriginal},
    {"MultiplierUser", &RankingForm::multiplier},
    {"MultiplierOriUser", &RankingForm::multiplierOriginal},
    {"OverClockUser", &RankingForm::overClock},
}};

}  // namespace

bool SetFormField(RankingForm& form, const std::string& key, const std::string& value) {
  for (const FormKey& k : kFormKeys) {
    if (key == k.key) {
      form.*k.field = value;
      return true;
    }
  }
  if (key == "RaidOn") {
    form.raid = std::atoi(value.c_str()) == 1 ? 1 : 0;
    return true;
  }
  for (int n = 1; n <= kRaidMemberCount; ++n) {
    const std::string disk = "RaidDisk" + std::to_string(n);
    if (key == disk) {
      form.raidDisks[static_cast<size_t>(n - 1)] = value;
      return true;
    }
    if (key == disk + "Size") {
      form.raidDiskSizes[static_cast<size_t>(n - 1)] = value;
      return true;
    }
  }
  return false;
}

bool IsFormKey(const std::string& key) {
  RankingForm scratch;
  return SetFormField(scratch, key, "");
}

}  // namespace velora
