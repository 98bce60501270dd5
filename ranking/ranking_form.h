#pragma once
// The registration form of the Ranking page as data: every field as the user typed or chose it,
// the nine identity fields the settings file keeps, and the checks "Entry" makes before posting.

#include <array>
#include <optional>
#include <string>

#include "core/settings.h"

namespace velora {

constexpr int kRaidMemberCount = 8;

struct RankingForm {
  std::string userName, machineName, password, web, mail, country, area;
  std::string cpuName;
  std::string clock, clockOriginal, systemClock, systemClockOriginal;
  std::string multiplier, multiplierOriginal, overClock;
  std::string motherBoard, chipSet, video, videoMemory, memory, memorySize;
  std::string disk, diskSize;
  int raid = 0;  // 0 off, 1 on
  std::string raidController, raidSize, raidType;
  std::array<std::string, kRaidMemberCount> raidDisks, raidDiskSizes;
  std::string comment;
};

// The RAID type list, in its order.
constexpr std::array<const char*, 8> kRaidTypes{"RAID 0", "RAID 1", "RAID 2",   "RAID 3",
                                                "RAID 4", "RAID 5", "RAID 0+1", "RAID 1+5"};

struct RememberedField {
  const char* key;  // in section "Info"
  std::string RankingForm::*field;
};
// In the order they are read at start-up.
extern const std::array<RememberedField, 9> kRememberedFields;

void ReadRememberedFields(const Settings& settings, RankingForm& form);
// Failed writes are ignored, as for every setting.
void WriteRememberedFields(const Settings& settings, const RankingForm& form);

enum class FormProblem { kMissingField, kBadClock, kHiddenControl };

// The first problem in the order "Entry" checks: the required fields, then the six clocks, then
// the typed texts as the service takes them: a name that shows nothing counts as missing, and a
// C1 or direction control in any text is refused.
std::optional<FormProblem> CheckForm(const RankingForm& form);

// The message box text of a problem in the interface language.
const char* FormProblemText(FormProblem problem, int language);

}  // namespace velora
