#pragma once
// Registering a run with the ranking service, written once for the Ranking page's "Entry" and
// for `velora mark --submit`: the form as both start it, the body, the post and what the answer
// means.

#include <cstdint>
#include <optional>
#include <string>

#include "bench/bench_result.h"
#include "core/settings.h"
#include "info/cpu_page_data.h"
#include "info/system_page_data.h"
#include "ranking/machine_facts.h"
#include "ranking/ranking_form.h"
#include "ranking/ranking_post.h"
#include "ranking/ranking_reply.h"

namespace velora {

// The processor's name and clocks from the CPU page, the chipset and video as the Device page
// names them, the identity fields the settings remember, and the memory size in MB.
RankingForm SeedRankingForm(const Settings* settings, const CpuPageData& cpu,
                            const DeviceFacts& device, uint64_t memoryBytes);

// What the body says of the machine besides the form.
struct EntryMachine {
  CpuFacts cpu;
  SystemFacts system;
  DeviceFacts device;
};
EntryMachine EntryMachineOf(const CpuPageData& cpu, const SystemPageData& system,
                            const std::string& kernelRelease, const DeviceFacts& device);

struct EntryOutcome {
  std::optional<FormProblem> formProblem;  // nothing was posted
  std::string body;                        // what was (or, for a dry run, would be) posted
  PostOutcome posted;
  ReplyDecision decision;
};

// Checks the form, builds the body and, unless dryRun, posts it to server.
EntryOutcome RegisterEntry(const RankingForm& form, const EntryMachine& machine,
                           const BenchResult& result, const std::string& title,
                           const std::string& server, int language, bool dryRun,
                           PostLimits limits = {});

}  // namespace velora
