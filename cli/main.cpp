// velora: the benchmark run without a window.

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ui_language.h"
#include "bench/bench_runner.h"
#include "bench/linked_bench_engine.h"
#include "bench/linux_bench_host.h"
#include "bench/processor_mask.h"
#include "bench/result_text_block.h"
#include "bench/sub_test_cells.h"
#include "cli/mark_command.h"
#include "platform/mount_query.h"

namespace {

using namespace velora;

std::atomic<BenchRunner*> activeRunner{nullptr};

// Lock-free atomics only: safe inside a signal handler.
void OnInterrupt(int) {
  if (BenchRunner* runner = activeRunner.load()) runner->RequestStop();
}

const char* TestName(int test) {
  static const char* const names[] = {"Mark", "ALU", "FPU", "MEM", "HDD", "MMT",
                                      "GDI",  "D2D", "D3D", "OGL", "NET"};
  return test >= 0 && test <= 10 ? names[test] : "?";
}

// One line per finished sub-test; on a terminal a live line while a sub-test runs.
class ConsoleObserver : public BenchObserver {
 public:
  explicit ConsoleObserver(BenchEngine& engine) : engine_(engine), terminal_(isatty(1) == 1) {}

  void SubTestStarted(int test, int subTest) override {
    if (!terminal_) return;
    const std::string name = engine_.BenchString(test, subTest);
    std::printf("\r\033[K  %s %d/8 %s ...", TestName(test), subTest + 1, name.c_str());
    std::fflush(stdout);
  }
  void SubTestShown(int test, int subTest, int score, int value) override {
    const std::string name = engine_.BenchString(test, subTest);
    if (terminal_) std::printf("\r\033[K");
    if (name.empty()) return;  // a sub-test the engine does not have
    // The list's value cell, then the score for every test (the list shows none for some).
    const SubTestCells cells = SubTestCellsOf(test, score, value);
    const std::string scoreText = score < 0 ? "" : std::to_string(score);
    std::printf("%-4s %-24s %12s %8s\n", TestName(test), name.c_str(), cells.column1.c_str(),
                scoreText.c_str());
    std::fflush(stdout);
  }
  void MessageShown(const std::string& text) override {
    std::fprintf(stderr, "velora: %s\n", text.c_str());
    failed_ = true;
  }
  bool Failed() const { return failed_; }

 private:
  BenchEngine& engine_;
  const bool terminal_;
  bool failed_ = false;
};

std::string DefaultScratchDir() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? home : ".";
}

int RunMark(const MarkCommand& command) {
  if (!command.mask.empty() && !BenchRunner::ApplyProcessorMask(command.mask)) {
    std::fprintf(stderr, "velora: the processor mask %s could not be applied\n",
                 command.mask.c_str());
  }
  RunOptions options;
  options.processorMaskText = command.mask;
  options.scratchRoot = command.hddDir.empty() ? DefaultScratchDir() : command.hddDir;
  MountInfo mount;
  // A local block-device file system; network and memory file systems do not count.
  options.scratchFixedDisk = MountOfPath(options.scratchRoot, mount) && mount.major != 0 &&
                             !IsNetworkFileSystem(mount.fsType);
  options.scratchSizeText = std::to_string(command.hddSizeMb) + "MB";

  LinkedBenchEngine engine;
  LinuxBenchHost host;
  ConsoleObserver observer(engine);
  BenchRunner runner(engine, host, observer, ConfiguredProcessorCount());
  runner.SetOptions(options);

  activeRunner = &runner;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  if (!runner.StartRun(command.test)) {
    std::fprintf(stderr, "velora: the run could not be started\n");
    return 1;
  }
  runner.WaitUntilIdle();
  const bool stopped = runner.StopRequested();
  activeRunner = nullptr;

  const BenchResult result = runner.Snapshot();
  std::fputs(ResultTextBlock(result, result.runSettings.displayMode,
                             result.runSettings.fontSmoothing, "")
                 .c_str(),
             stdout);
  if (stopped) std::fprintf(stderr, "velora: stopped\n");
  return stopped || observer.Failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (const char* lang = std::getenv("LANG"); lang != nullptr && std::string(lang).rfind("ja", 0) == 0) {
    UiLanguage = kJapanese;
  } else {
    UiLanguage = kEnglish;
  }
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::fputs(VeloraUsage(), words.empty() ? stderr : stdout);
    return words.empty() ? 2 : 0;
  }
  if (words[0] != "mark") {
    std::fprintf(stderr, "velora: unknown command %s\n\n%s", words[0].c_str(), VeloraUsage());
    return 2;
  }
  std::string error;
  const auto command = ParseMarkCommand({words.begin() + 1, words.end()}, error);
  if (!command) {
    std::fprintf(stderr, "velora: %s\n\n%s", error.c_str(), VeloraUsage());
    return 2;
  }
  return RunMark(*command);
}
