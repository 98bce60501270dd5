#include "cli/submit_command.h"

#include <array>
#include <cstdio>

#include "core/ui_language.h"
#include "ranking/ranking_form_keys.h"
#include "session/ranking_entry.h"

namespace velora {

namespace {

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
    const std::string key = pair.substr(0, equals);
    if (!IsFormKey(key)) {
      error = "--form: " + key + " is no field of the registration form";
      return true;
    }
    request.form.emplace_back(key, pair.substr(equals + 1));
  } else {
    return false;
  }
  return true;
}

std::optional<RankingForm> CommandLineForm(const Settings& settings, const CpuPageData& cpu,
                                           const DeviceFacts& device, uint64_t memoryBytes,
                                           const SubmitRequest& request, std::string& error) {
  RankingForm form = SeedRankingForm(&settings, cpu, device, memoryBytes);
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

SubmitOutcome SubmitRegistration(const RankingForm& form, const EntryMachine& machine,
                                 const BenchResult& result, const std::string& title,
                                 const std::string& server, int language, bool dryRun,
                                 PostLimits limits) {
  SubmitOutcome outcome;
  const EntryOutcome entry =
      RegisterEntry(form, machine, result, title, server, language, dryRun, limits);
  if (entry.formProblem) {
    outcome.exitCode = 1;
    outcome.error = FormProblemText(*entry.formProblem, language);
    return outcome;
  }
  if (dryRun) {
    outcome.out = entry.body;
    return outcome;
  }
  const ReplyDecision& decision = entry.decision;
  switch (decision.action) {
    case ReplyAction::kOpenEntry: outcome.out = decision.text; return outcome;
    case ReplyAction::kOfferClipboard:
      outcome.error = std::string(Text(language, "the ranking service could not be reached: ",
                                       "ランキングサーバーに接続できません: ")) +
                      entry.posted.problem;
      break;
    case ReplyAction::kShowMessage: outcome.error = decision.text; break;
    case ReplyAction::kNothing: {
      char text[96];
      std::snprintf(text, sizeof text, "%s%d",
                    Text(language, "the ranking service refused the entry: ",
                         "ランキングサーバーが登録を拒否しました: "),
                    static_cast<int>(entry.posted.reply));
      outcome.error = text;
      break;
    }
  }
  outcome.exitCode = 1;
  return outcome;
}

}  // namespace velora
