// velora: the benchmark run without a window.

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_runner.h"
#include "bench/linked_bench_engine.h"
#include "bench/linux_bench_host.h"
#include "bench/processor_mask.h"
#include "bench/result_text_block.h"
#include "bench/scratch_drives.h"
#include "cli/console_progress.h"
#include "cli/info_command.h"
#include "cli/mark_command.h"
#include "core/ui_language.h"
#include "platform/mount_query.h"

namespace {

using namespace velora;

std::atomic<BenchRunner*> activeRunner{nullptr};

// Lock-free atomics only: safe inside a signal handler.
void OnInterrupt(int) {
  if (BenchRunner* runner = activeRunner.load()) runner->RequestStop();
}

std::string DefaultScratchDir() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? home : ".";
}

int RunMark(const MarkCommand& command, int language) {
  if (!command.mask.empty() && !BenchRunner::ApplyProcessorMask(command.mask)) {
    std::fprintf(stderr, "velora: the processor mask %s could not be applied\n",
                 command.mask.c_str());
  }
  RunOptions options;
  options.processorMaskText = command.mask;
  options.scratchRoot = command.hddDir.empty() ? DefaultScratchDir() : command.hddDir;
  MountInfo mount;
  options.scratchFixedDisk = MountOfPath(options.scratchRoot, mount) && IsFixedDiskMount(mount);
  options.scratchSizeText = std::to_string(command.hddSizeMb) + "MB";
  options.language = language;

  LinkedBenchEngine engine;
  LinuxBenchHost host;
  ConsoleProgress observer(engine, command.test, stdout, isatty(1) == 1);
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
  // The report's lines end in CR LF; a terminal or pipe wants LF.
  // Without a screen there is no display mode to report.
  const bool screen = result.runSettings.display.width != 0;
  std::string block = ResultTextBlock(result, screen ? result.runSettings.displayMode : "",
                                      result.runSettings.fontSmoothing, "");
  std::erase(block, '\r');
  std::fputs(block.c_str(), stdout);
  if (stopped) std::fprintf(stderr, "velora: stopped\n");
  return stopped || observer.Failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  const char* lang = std::getenv("LANG");
  const int language =
      lang != nullptr && std::string(lang).rfind("ja", 0) == 0 ? kJapanese : kEnglish;
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::fputs(VeloraUsage(), words.empty() ? stderr : stdout);
    std::fputs(InfoUsage(), words.empty() ? stderr : stdout);
    return words.empty() ? 2 : 0;
  }
  if (words[0] == "info") {
    std::string error;
    const auto info = ParseInfoCommand({words.begin() + 1, words.end()}, error);
    if (!info) {
      std::fprintf(stderr, "velora: %s\n\n%s%s", error.c_str(), VeloraUsage(), InfoUsage());
      return 2;
    }
    return RunInfo(*info, language);
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
  return RunMark(*command, language);
}
