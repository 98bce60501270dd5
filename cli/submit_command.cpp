#include "cli/submit_command.h"

#include <array>
#include <cstdio>

#include "core/ui_language.h"
#include "ranking/ranking_body.h"
#include "ranking/ranking_reply.h"

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

const char* Text(int language, const char* english, const char* japanese) {
  return language == kEnglish ? english : japanese;
}

}  // namespace

bool TakeSubmitWord(const std::vector<std::string>& words, size_t& i, SubmitRequest& request,
                    std::string& error) {
  const std::string& word = words[i];
  if (word == "--submit") {
    request.submit = true;
  } else if (word == "--submit-dry-run") {
    request.dryRun = true;
  } else if (word == "--form") {
    const size_t equals = i + 1 < words.size() ? words[i + 1].find('=') : std::string::npos;
    if (equals == std::string::npos || equals == 0) {
      error = "--form needs KEY=VALUE";
      return true;
    }
    const std::string& pair = words[++i];
    request.form.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
  } else {
    return false;
  }
  return true;
}

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

std::optional<RankingForm> CommandLineForm(const Settings& settings, const CpuPageData& cpu,
                                           uint64_t memoryBytes, const SubmitRequest& request,
                                           std::string& error) {
  RankingForm form;
  ReadRememberedFields(settings, form);
  form.cpuName = cpu.cpuName;
  form.clock = cpu.internalClockCurrent;
  form.clockOriginal = cpu.internalClockOriginal;
  form.systemClock = cpu.systemClockCurrent;
  form.systemClockOriginal = cpu.systemClockOriginal;
  form.multiplier = cpu.multiplierCurrent;
  form.multiplierOriginal = cpu.multiplierOriginal;
  form.overClock = cpu.overClock;
  form.memorySize = std::to_string(memoryBytes / 1048576 + 1);
  for (const auto& [key, value] : request.form) {
    if (!SetFormField(form, key, value)) {
      error = "--form: " + key + " is no field of the registration form";
      return std::nullopt;
    }
  }
  return form;
}

bool CommandLineRunComplete(const BenchResult& result, bool displayPresent) {
  if (IsRunComplete(result)) return true;
  // Nothing was on a screen to change while the drawing tests ran.
  const DisplayState& start = result.display[kTestOverall];
  return !displayPresent && result.fullRun == 1 && start.width == 0 && start.height == 0 &&
         result.display[kTestGdi] == start && result.display[kTestD2d] == start;
}

SubmitOutcome SubmitRegistration(const RankingForm& form, const CpuFacts& cpu,
                                 const SystemFacts& system, const DeviceFacts& device,
                                 const BenchResult& result, const std::string& title,
                                 const std::string& server, int language, bool dryRun,
                                 PostLimits limits) {
  SubmitOutcome outcome;
  if (const auto problem = CheckForm(form)) {
    outcome.exitCode = 1;
    outcome.error = FormProblemText(*problem, language);
    return outcome;
  }
  const std::string body = RankingBody(form, cpu, system, device, result, title);
  if (dryRun) {
    outcome.out = body;
    return outcome;
  }
  const PostOutcome posted = PostForm(body, server, kRegisterPath, kAgentName, limits);
  const ReplyDecision decision = DecideReply(posted.reply, server, language);
  switch (decision.action) {
    case ReplyAction::kOpenEntry: outcome.out = decision.text; return outcome;
    case ReplyAction::kOfferClipboard:
      outcome.error = std::string(Text(language, "the ranking service could not be reached: ",
                                       "ランキングサーバーに接続できません: ")) +
                      posted.problem;
      break;
    case ReplyAction::kShowMessage: outcome.error = decision.text; break;
    case ReplyAction::kNothing: {
      char text[96];
      std::snprintf(text, sizeof text, "%s%d",
                    Text(language, "the ranking service refused the entry: ",
                         "ランキングサーバーが登録を拒否しました: "),
                    static_cast<int>(posted.reply));
      outcome.error = text;
      break;
    }
  }
  outcome.exitCode = 1;
  return outcome;
}

}  // namespace velora
