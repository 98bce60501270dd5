// velora-ranking-seed: fills a ranking database with made-up entries for a benchmark, each a
// copy of one registration body under its own user name and scores. Never for a real ranking.

#include <sodium.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "server/entry_store.h"
#include "server/registrar.h"

int main(int argc, char** argv) {
  using namespace velora::server;
  if (argc != 4) {
    std::fputs("usage: velora-ranking-seed DATABASE COUNT BODY_FILE\n", stderr);
    return 2;
  }
  const long count = std::strtol(argv[2], nullptr, 10);
  std::ifstream file(argv[3], std::ios::binary);
  std::stringstream body;
  body << file.rdbuf();
  CheckedRegistration checked = CheckRegistration(ParseFormBody(body.str()));
  if (checked.refusal != 0 || count <= 0 || !StartPasswordHashing()) {
    std::fprintf(stderr, "velora-ranking-seed: %s is not a registration (%d)\n", argv[3],
                 checked.refusal);
    return 2;
  }
  EntryStore store;
  if (!store.Open(argv[1])) {
    std::fprintf(stderr, "velora-ranking-seed: %s\n", store.problem().c_str());
    return 1;
  }
  // One hash for all: nobody logs in to these entries.
  const std::string hash = *HashPassword("bench", HashCost::kMinimum);
  const NewEntry model = EntryOf(checked.registration, hash, "", 1'800'000'000);
  uint64_t random = 88172645463325252u;
  const auto next = [&random](int64_t below) {
    random ^= random << 13;
    random ^= random >> 7;
    random ^= random << 17;
    return static_cast<int64_t>(random % static_cast<uint64_t>(below)) + 1;
  };
  constexpr long kBatch = 10000;
  for (long done = 0; done < count;) {
    std::vector<NewEntry> batch;
    for (; done < count && static_cast<long>(batch.size()) < kBatch; ++done) {
      NewEntry entry = model;
      entry.userName = "bench " + std::to_string(done);
      entry.machine = "box " + std::to_string(done % 977);
      entry.digest = std::to_string(done);
      entry.mark = next(200000);
      for (int64_t& score : entry.tests) score = next(10) == 1 ? 0 : next(20000);
      batch.push_back(std::move(entry));
    }
    std::string problem;
    if (!store.InsertAll(batch, problem)) {
      std::fprintf(stderr, "velora-ranking-seed: %s\n", problem.c_str());
      return 1;
    }
  }
  return 0;
}
