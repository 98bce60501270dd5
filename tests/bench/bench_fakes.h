#pragma once
// A scripted engine, host and observer for the runner tests.

#include <sys/stat.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "bench/bench_engine.h"
#include "bench/bench_host.h"
#include "bench/bench_observer.h"
#include "engine/hdd_scratch_params.h"

namespace velora::testing {

struct EngineAnswer {
  int32_t status = 0;
  int32_t score = 0;
  int32_t value = 0;
};

struct EngineCall {
  int test;
  int subTest;
  int mode;
};

// Answers each (test, sub-test) from a list, one entry per call, repeating the last; a pair
// without script answers zeros like a sub-test the engine does not have.
class FakeEngine : public BenchEngine {
 public:
  void Script(int test, int subTest, std::vector<EngineAnswer> answers) {
    std::lock_guard lock(mutex_);
    script_[{test, subTest}] = std::move(answers);
  }
  // Run before answering a call; lets a test act while the worker is inside the engine.
  void OnCall(std::function<void(int test, int subTest)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
  }

  int32_t BenchMark(int32_t test, int32_t subTest, int32_t mode, void* params, int32_t* score,
                    int32_t* value) override {
    std::function<void(int, int)> hook;
    EngineAnswer answer;
    {
      std::lock_guard lock(mutex_);
      calls_.push_back({test, subTest, mode});
      if (test == 4) {
        auto* hdd = static_cast<HddScratchParams*>(params);
        struct stat info {};
        hddFileSizes_.push_back(stat(hdd->filePath, &info) == 0 ? info.st_size : -1);
        hddBlockSizes_.push_back(hdd->blockSize);
        hddBufferSet_ = hdd->blockBuffer != nullptr;
      }
      auto found = script_.find({test, subTest});
      if (found != script_.end() && !found->second.empty()) {
        auto& used = used_[{test, subTest}];
        answer = found->second[std::min(used, found->second.size() - 1)];
        ++used;
      }
      hook = hook_;
    }
    if (hook) hook(test, subTest);
    *score = answer.score;
    *value = answer.value;
    return answer.status;
  }

  std::string BenchString(int32_t test, int32_t index) override {
    return index < 4 ? "T" + std::to_string(test) + "S" + std::to_string(index) : "";
  }

  std::vector<EngineCall> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  int CallsOf(int test) const {
    int count = 0;
    for (const EngineCall& call : Calls()) count += call.test == test;
    return count;
  }
  std::vector<long> HddFileSizes() const {
    std::lock_guard lock(mutex_);
    return hddFileSizes_;
  }
  std::vector<uint32_t> HddBlockSizes() const {
    std::lock_guard lock(mutex_);
    return hddBlockSizes_;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::pair<int, int>, std::vector<EngineAnswer>> script_;
  std::map<std::pair<int, int>, size_t> used_;
  std::vector<EngineCall> calls_;
  std::vector<long> hddFileSizes_;
  std::vector<uint32_t> hddBlockSizes_;
  bool hddBufferSet_ = false;
  std::function<void(int, int)> hook_;
};

class FakeHost : public BenchHost {
 public:
  void SetDisplay(DisplayState display) {
    std::lock_guard lock(mutex_);
    display_ = display;
  }
  void SetFreeBytes(std::optional<uint64_t> free) {
    std::lock_guard lock(mutex_);
    free_ = free;
  }
  DisplayState CurrentDisplayState() override {
    std::lock_guard lock(mutex_);
    return display_;
  }
  uint32_t TickCountMs() override { return tick_ += 16; }
  std::optional<uint64_t> FreeBytes(const std::string&) override {
    std::lock_guard lock(mutex_);
    return free_;
  }
  bool VolumeCompressed(const std::string&) override { return false; }

 private:
  std::mutex mutex_;
  DisplayState display_{1920, 1080, 32, 2};
  std::optional<uint64_t> free_;
  std::atomic<uint32_t> tick_{0x1234ABC0};
};

// Keeps every call as a line of text, in order.
class RecordingObserver : public BenchObserver {
 public:
  void RunControlsEnabled(bool enable, bool includeStop) override {
    Add("controls " + std::to_string(enable) + std::to_string(includeStop));
  }
  void OptionListsEnabled(bool scratchLists, bool maskList) override {
    Add("lists " + std::to_string(scratchLists) + std::to_string(maskList));
  }
  void RunSettingsShown(const std::string& mode, const std::string& smoothing) override {
    Add("settings " + mode + " / " + smoothing);
  }
  void BarColoursShown(BarColours colours) override {
    Add(colours == BarColours::kActive ? "active" : "grey");
  }
  void BarValueShown(int test, int value) override {
    Add("bar " + std::to_string(test) + " " + std::to_string(value));
  }
  void SubTestListCleared() override { Add("list cleared"); }
  void ListTabSelected(int test) override { Add("tab " + std::to_string(test)); }
  void SubTestShown(int test, int subTest, int score, int value) override {
    Add("row " + std::to_string(test) + "." + std::to_string(subTest) + " " +
        std::to_string(score) + " " + std::to_string(value));
  }
  void MessageShown(const std::string& text) override { Add("message " + text); }
  void SubTestFailed(int test, int subTest, const std::string& text) override {
    Add("failed " + std::to_string(test) + "." + std::to_string(subTest) + " " + text);
  }
  void RunEnded() override { Add("ended"); }

  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  bool Has(const std::string& event) const {
    for (const auto& e : Events()) {
      if (e == event) return true;
    }
    return false;
  }
  bool Starts(const std::string& prefix) const { return !Last(prefix).empty(); }
  std::string Last(const std::string& prefix) const {
    std::string last;
    for (const auto& e : Events()) {
      if (e.rfind(prefix, 0) == 0) last = e;
    }
    return last;
  }

 private:
  void Add(std::string event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
};

}  // namespace velora::testing
