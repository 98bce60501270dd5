#pragma once
// "velora mark --submit": the registration of a complete run from the command line, with the
// body the window's "Entry" builds. Identity fields come from the window program's settings,
// the machine's fields from the inventory, the rest from "--form KEY=VALUE".

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_result.h"
#include "core/settings.h"
#include "info/cpu_page_data.h"
#include "ranking/machine_facts.h"
#include "ranking/ranking_form.h"
#include "ranking/ranking_post.h"
#include "session/ranking_entry.h"

namespace velora {

struct SubmitRequest {
  bool submit = false;
  bool dryRun = false;
  // "--form KEY=VALUE" in the order given; KEY is the body's key.
  std::vector<std::pair<std::string, std::string>> form;
};

// Takes "--submit", "--submit-dry-run" and "--form" (with the next word) at words[i]; false for
// any other word. error is set for a malformed "--form".
bool TakeSubmitWord(const std::vector<std::string>& words, size_t& i, SubmitRequest& request,
                    std::string& error);

// The form as the Ranking page starts it, then the request's pairs. nullopt with error for an
// unknown key.
std::optional<RankingForm> CommandLineForm(const Settings& settings, const CpuPageData& cpu,
                                           const DeviceFacts& device, uint64_t memoryBytes,
                                           const SubmitRequest& request, std::string& error);

// The window's rule; without any display, a full run that stayed without one throughout.
bool CommandLineRunComplete(const BenchResult& result, bool displayPresent);

struct SubmitOutcome {
  int exitCode = 0;
  std::string out;    // the body (dry run) or the entry page's address
  std::string error;  // why nothing was registered
};

SubmitOutcome SubmitRegistration(const RankingForm& form, const EntryMachine& machine,
                                 const BenchResult& result, const std::string& title,
                                 const std::string& server, int language, bool dryRun,
                                 PostLimits limits = {});

}  // namespace velora
