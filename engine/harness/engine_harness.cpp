// The engine's speed against references of the same work, at one processor and at all the
// harness may use: plain -O3 -march=native versions of the ALU and FPU algorithms and a
// STREAM-style memory reference on as many threads as the engine has workers, and fio with
// direct I/O on the same scratch file. Engine and reference take turns, pair after pair, and the
// median of the pairs' ratios is printed, so one busy moment of the machine decides nothing:
//   ratio <TEST>.<sub-test>@<processors> <engine / reference>      (higher is better)
//   scaling <TEST>.<sub-test> <n>/1 <engine at n / engine at 1> (reference <the same>)
//   target <what> <figure> >= <goal> met|MISSED
// "#" lines carry the raw figures of every pair.
//
// The drawing tests are compared offscreen against plain Cairo, SDL2 and vertex-buffer loops of
// ours, and glmark2 under Xvfb gives the OpenGL scenes a public reference point.
//
// usage: velora-engine-harness [--dir FOLDER] [--size MB] [--pairs N]
//                              [--only ALU|FPU|MEM|HDD|MMT|GDI|D2D|OGL]

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/harness/graphics_comparison.h"
#include "engine/harness/harness_figures.h"
#include "engine/harness/reference_kernels.h"
#include "engine/harness/reference_team.h"
#include "engine/hdd_scratch_params.h"
#include "engine/stream_arena.h"
#include "engine/sub_test_table.h"
#include "engine/velora_engine.h"
#include "platform/linux/linux_processor_affinity.h"
#include "platform/memory_facts.h"

namespace {

using velora::HddScratchParams;
using velora::bench::AllCalls;
using velora::bench::ComparePairs;
using velora::bench::EngineValue;
using velora::bench::Join;
using velora::bench::Median;
using velora::bench::PrintLoad;
using velora::bench::Ratios;
using velora::bench::ReferenceMaker;
using velora::bench::SubTestCalls;

// The thresholds the engine is held to on a machine with two processors or more.
constexpr double kMinRatio = 0.90;
constexpr double kMinScalingPerProcessor = 0.85;

// Memory figures further than this either way from a reference over arrays of the same size
// mean that one of the two streams from a cache.
constexpr double kMaxStreamRatio = 1.20;

struct Target {
  std::string what;
  double figure;
  double goal;
  bool atMost = false;  // the figure must not exceed the goal
};
std::vector<Target> gTargets;

class Harness {
 public:
  explicit Harness(int pairs) : pairs_(pairs), affinity_(velora::ProcessAffinity()) {
    all_ = affinity_.AllowedProcessors();
    counts_ = {1};
    if (all_.size() > 1) counts_.push_back(static_cast<int>(all_.size()));
    std::printf("# processors %zu, %d pairs per figure\n", all_.size(), pairs_);
  }

  ~Harness() { affinity_.RestrictCurrentThread(all_); }

  // Engine (through BenchMark, on the processors this thread may use) and reference take turns;
  // who goes first alternates, so a drift of the machine favours neither. Memory bandwidth is
  // shared by the processors, so only compute sub-tests are held to their scaling.
  // bothWays: engine / reference and reference / engine are each held to at most kMaxStreamRatio.
  void Compare(const char* test, int32_t testId, int32_t sub, ReferenceMaker reference,
               bool holdScaling, bool bothWays = false) {
    const auto row = velora::engine::SubTestRows(testId)[sub];
    std::vector<std::vector<double>> engine(counts_.size()), ref(counts_.size());
    SubTestCalls() = velora::bench::CallSpan{};
    for (int pair = 0; pair < pairs_; ++pair)
      for (size_t c = 0; c < counts_.size(); ++c) {
        const std::vector<int> processors = Use(counts_[c]);
        auto runEngine = [&] { engine[c].push_back(EngineValue(testId, sub, nullptr)); };
        auto runReference = [&] {
          ref[c].push_back(velora::bench::MeasureReference(reference, processors, affinity_) *
                           row.valueScale);
        };
        if (pair % 2 == 0) {
          runEngine();
          runReference();
        } else {
          runReference();
          runEngine();
        }
      }
    Use(static_cast<int>(all_.size()));
    for (size_t c = 0; c < counts_.size(); ++c) {
      std::printf("# %s.%s@%d engine %s | reference %s (value units) %s\n", test, row.name,
                  counts_[c], Join(engine[c]).c_str(), Join(ref[c]).c_str(),
                  SubTestCalls().Text().c_str());
      const double ratio = Median(Ratios(engine[c], ref[c]));
      if (bothWays) {
        const double inverse = Median(Ratios(ref[c], engine[c]));
        std::printf("ratio %s.%s@%d %.3f (reference/engine %.3f)\n", test, row.name, counts_[c],
                    ratio, inverse);
        Hold(test, row.name, "ratio", counts_[c], ratio, kMaxStreamRatio, true);
        Hold(test, row.name, "reference/engine", counts_[c], inverse, kMaxStreamRatio, true);
      } else {
        std::printf("ratio %s.%s@%d %.3f\n", test, row.name, counts_[c], ratio);
      }
      if (c > 0) Hold(test, row.name, "ratio", counts_[c], ratio, kMinRatio);
    }
    if (counts_.size() > 1) PrintScaling(test, row.name, engine, &ref, holdScaling);
    std::fflush(stdout);
  }

  // Sub-tests without a reference: the engine's figures and how they grow with processors.
  void EngineOnly(const char* test, int32_t testId, int32_t sub, int calls) {
    const auto row = velora::engine::SubTestRows(testId)[sub];
    std::vector<std::vector<double>> engine(counts_.size());
    SubTestCalls() = velora::bench::CallSpan{};
    for (int i = 0; i < calls; ++i)
      for (size_t c = 0; c < counts_.size(); ++c) {
        Use(counts_[c]);
        engine[c].push_back(EngineValue(testId, sub, nullptr));
      }
    Use(static_cast<int>(all_.size()));
    for (size_t c = 0; c < counts_.size(); ++c)
      std::printf("# %s.%s@%d engine %s, median %.0f (no reference) %s\n", test, row.name,
                  counts_[c], Join(engine[c]).c_str(), Median(engine[c]),
                  SubTestCalls().Text().c_str());
    if (counts_.size() > 1) PrintScaling(test, row.name, engine, nullptr, false);
    std::fflush(stdout);
  }

  void PrintTargets() const {
    for (const Target& t : gTargets)
      std::printf("target %s %.3f %s %.2f %s\n", t.what.c_str(), t.figure, t.atMost ? "<=" : ">=",
                  t.goal, (t.atMost ? t.figure <= t.goal : t.figure >= t.goal) ? "met" : "MISSED");
  }

 private:
  std::vector<int> Use(int count) {
    std::vector<int> processors(all_.begin(), all_.begin() + count);
    if (!affinity_.RestrictCurrentThread(processors))
      std::printf("# cannot bind to %d processors\n", count);
    return processors;
  }

  void PrintScaling(const char* test, const char* name,
                    const std::vector<std::vector<double>>& engine,
                    const std::vector<std::vector<double>>* ref, bool held) {
    const int n = counts_.back();
    const double scaling = Median(Ratios(engine.back(), engine.front()));
    if (ref != nullptr)
      std::printf("scaling %s.%s %d/1 %.3f (reference %.3f)\n", test, name, n, scaling,
                  Median(Ratios(ref->back(), ref->front())));
    else
      std::printf("scaling %s.%s %d/1 %.3f\n", test, name, n, scaling);
    if (held) Hold(test, name, "scaling", n, scaling, kMinScalingPerProcessor * n);
  }

  static void Hold(const char* test, const char* name, const char* kind, int count, double figure,
                   double goal, bool atMost = false) {
    gTargets.push_back({std::string(kind) + " " + test + "." + name + "@" + std::to_string(count),
                        figure, goal, atMost});
  }

  const int pairs_;
  velora::ProcessorAffinity& affinity_;
  std::vector<int> all_;
  std::vector<int> counts_;
};

bool CreateScratch(const std::string& path, uint32_t bytes) {
  int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_DIRECT | O_CLOEXEC, 0600);
  if (fd < 0) fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  void* block = nullptr;
  if (posix_memalign(&block, 4096, 1u << 20) != 0) return false;
  std::memset(block, 0, 1u << 20);
  bool ok = true;
  for (uint32_t done = 0; ok && done < bytes; done += 1u << 20)
    ok = write(fd, block, 1u << 20) == (1 << 20);
  ok = ok && fsync(fd) == 0;
  close(fd);
  std::free(block);
  return ok;
}

// fio's bandwidth in bytes per second for one pattern, psync at queue depth 1 like the engine.
double FioOnce(const std::string& path, uint32_t bytes, const char* rw, const char* bs) {
  const std::string command = "fio --name=reference --filename='" + path + "' --rw=" + rw +
                              " --bs=" + bs + " --size=" + std::to_string(bytes) +
                              " --direct=1 --ioengine=psync --iodepth=1 --allow_file_create=0"
                              " --time_based=1 --runtime=1 --output-format=json 2>/dev/null";
  const std::string out = velora::bench::CommandOutput(command);
  const bool write = std::strstr(rw, "write") != nullptr;
  size_t section = out.find(write ? "\"write\" : {" : "\"read\" : {");
  if (section == std::string::npos) return 0.0;
  size_t key = out.find("\"bw_bytes\" : ", section);
  if (key == std::string::npos) return 0.0;
  return std::strtod(out.c_str() + key + 13, nullptr);
}

// The disk is one stream: engine call and fio run take turns on the same scratch file.
void RunHdd(const std::string& folder, uint32_t megabytes, int pairs) {
  HddScratchParams params{};
  params.fileSize = megabytes << 20;
  params.blockSize = 1u << 20;
  const std::string path = folder + "/velora-bench-" + std::to_string(getpid()) + ".tmp";
  if (path.size() >= sizeof params.filePath || !CreateScratch(path, params.fileSize)) {
    std::printf("# HDD: cannot create %s\n", path.c_str());
    unlink(path.c_str());
    return;
  }
  std::memcpy(params.filePath, path.c_str(), path.size() + 1);
  void* block = std::calloc(1, params.blockSize);
  params.blockBuffer = block;
  struct Row {
    const char* rw;
    const char* bs;
  };
  static constexpr Row kRows[] = {{"read", "1M"},        {"write", "1M"},     {"randread", "512k"},
                                  {"randwrite", "512k"}, {"randread", "64k"}, {"randwrite", "64k"}};
  auto rows = velora::engine::SubTestRows(velora::engine::kHdd);
  for (int s = 0; s < 6; ++s)
    ComparePairs(
        std::string("HDD.") + rows[s].name, pairs,
        [&params, s] { return EngineValue(velora::engine::kHdd, s, &params); }, "fio",
        [&, s] {
          return FioOnce(path, params.fileSize, kRows[s].rw, kRows[s].bs) * rows[s].valueScale;
        },
        "hundredths of MB/s");
  std::free(block);
  unlink(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = ".", only;
  uint32_t megabytes = 256;
  int pairs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--dir") == 0)
      folder = argv[i + 1];
    else if (std::strcmp(argv[i], "--size") == 0)
      megabytes = static_cast<uint32_t>(std::atoi(argv[i + 1]));
    else if (std::strcmp(argv[i], "--pairs") == 0)
      pairs = std::max(3, std::atoi(argv[i + 1]));
    else if (std::strcmp(argv[i], "--only") == 0)
      only = argv[i + 1];
  }
  char version[32], date[32];
  GetDllInfo(version, date);
  std::printf("# engine %s %s\n", version, date);
  PrintLoad("start");
  auto wants = [&](const char* name) { return only.empty() || only == name; };
  using namespace velora::bench;
  using velora::engine::kAlu, velora::engine::kFpu, velora::engine::kMem, velora::engine::kMmt;
  {
    Harness harness(pairs);
    if (wants("ALU")) {
      static const ReferenceMaker refs[] = {ReferenceFibonacci, ReferenceNapierian,
                                            ReferenceEratosthenes, ReferenceQuickSort};
      for (int s = 0; s < 4; ++s) harness.Compare("ALU", kAlu, s, refs[s], true);
    }
    if (wants("FPU")) {
      static const ReferenceMaker refs[] = {ReferenceMikoFpu, ReferenceRandMeanSs, ReferenceFft,
                                            ReferenceMandelbrot};
      for (int s = 0; s < 4; ++s) harness.Compare("FPU", kFpu, s, refs[s], true);
    }
    if (wants("MEM")) {
      // The reference streams over arrays of the size the engine plans from the same facts.
      const velora::MemoryFacts facts = velora::ReadMemoryFacts("");
      const size_t planned =
          velora::engine::PlanStreamArrayBytes(facts.lastLevelCacheBytes, facts.physicalBytes);
      if (!PrepareReferenceStreams(
              planned, static_cast<int>(velora::ProcessAffinity().AllowedProcessors().size())))
        std::printf("# no memory for the reference's arrays\n");
      std::printf("# MEM arrays %.0f MB each (last-level caches %.0f MB, memory %.0f MB)\n",
                  planned / 1e6, facts.lastLevelCacheBytes / 1e6, facts.physicalBytes / 1e6);
      static const ReferenceMaker refs[] = {ReferenceStreamRead, ReferenceStreamWrite,
                                            ReferenceStreamCopy};
      for (int s = 0; s < 3; ++s) harness.Compare("MEM", kMem, s, refs[s], false, true);
      harness.EngineOnly("MEM", kMem, 3, pairs);
    }
    if (wants("MMT")) {
      const auto rows = velora::engine::SubTestRows(kMmt);
      for (size_t s = 0; s < rows.size(); ++s)
        harness.EngineOnly("MMT", kMmt, static_cast<int32_t>(s), pairs);
    }
    if (wants("HDD")) RunHdd(folder, megabytes, pairs);
    if (only == "OGL-WINDOWS") {
      PrintWindowedScenes(3);
      return 0;
    }
    for (const auto& [label, ratio] :
         RunGraphics(wants("GDI"), wants("D2D"), wants("OGL"), pairs, argv[0]))
      gTargets.push_back({"ratio " + label, ratio, kMinRatio, false});
    harness.PrintTargets();
  }
  if (AllCalls().longest > 0.0)
    std::printf("# engine calls took %.3f to %.3f s each\n", AllCalls().shortest,
                AllCalls().longest);
  PrintLoad("end");
  return 0;
}
