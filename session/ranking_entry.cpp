#include "session/ranking_entry.h"

#include "ranking/ranking_body.h"

namespace velora {

namespace {

// The Device page indents its names by one blank; the form holds them without it.
std::string WithoutFirstCharacter(const std::string& text) {
  return text.empty() ? text : text.substr(1);
}

}  // namespace

RankingForm SeedRankingForm(const Settings* settings, const CpuPageData& cpu,
                            const DeviceFacts& device, uint64_t memoryBytes) {
  RankingForm form;
  form.cpuName = cpu.cpuName;
  form.clock = cpu.internalClockCurrent;
  form.clockOriginal = cpu.internalClockOriginal;
  form.systemClock = cpu.systemClockCurrent;
  form.systemClockOriginal = cpu.systemClockOriginal;
  form.multiplier = cpu.multiplierCurrent;
  form.multiplierOriginal = cpu.multiplierOriginal;
  form.overClock = cpu.overClock;
  form.chipSet = WithoutFirstCharacter(device.chipSet);
  form.video = WithoutFirstCharacter(device.video);
  if (settings != nullptr) ReadRememberedFields(*settings, form);
  form.memorySize = std::to_string(memoryBytes / 1048576 + 1);
  return form;
}

EntryMachine EntryMachineOf(const CpuPageData& cpu, const SystemPageData& system,
                            const std::string& kernelRelease, const DeviceFacts& device) {
  return {CpuFactsOf(cpu), SystemFactsOf(system, kernelRelease), device};
}

EntryOutcome RegisterEntry(const RankingForm& form, const EntryMachine& machine,
                           const BenchResult& result, const std::string& title,
                           const std::string& server, int language, bool dryRun,
                           PostLimits limits) {
  EntryOutcome outcome;
  outcome.formProblem = CheckForm(form);
  if (outcome.formProblem) return outcome;
  outcome.body = RankingBody(form, machine.cpu, machine.system, machine.device, result, title);
  if (dryRun) return outcome;
  outcome.posted = PostForm(outcome.body, server, kRegisterPath, kAgentName, limits);
  outcome.decision = DecideReply(outcome.posted.reply, server, language);
  return outcome;
}

}  // namespace velora
