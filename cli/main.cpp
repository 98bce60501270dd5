// velora: the benchmark run without a window.

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_runner.h"
#include "bench/linked_bench_engine.h"
#include "bench/linux_bench_host.h"
#include "bench/processor_mask.h"
#include "bench/result_text_block.h"
#include "bench/scratch_drives.h"
#include "bench/scratch_folder.h"
#include "bench/scratch_messages.h"
#include "cli/cli_texts.h"
#include "cli/console_progress.h"
#include "cli/info_command.h"
#include "cli/mark_command.h"
#include "cli/record_command.h"
#include "cli/report_command.h"
#include "cli/submit_command.h"
#include "core/font_smoothing.h"
#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/ui_language.h"
#include "platform/app_paths.h"
#include "platform/display_facts.h"
#include "platform/linux/linux_cpuid_source.h"
#include "platform/mount_query.h"
#include "platform/program_folder.h"
#include "session/machine_pages.h"
#include "session/machine_snapshot.h"
#include "session/ranking_entry.h"
#include "session/report_writing.h"

namespace {

using namespace velora;

std::atomic<BenchRunner*> activeRunner{nullptr};
std::atomic<int> signalsSeen{0};

// The first signal stops the run after its sub-test, which then cleans up and prints; a
// second one removes the scratch folder at once and ends the process. Async-signal-safe calls
// only.
void OnStopSignal(int signal) {
  if (signalsSeen.fetch_add(1) == 0) {
    if (BenchRunner* runner = activeRunner.load()) runner->RequestStop();
    return;
  }
  RemoveScratchFoldersNow();
  _exit(128 + signal);
}

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  // A closed pipe shows up as EPIPE on the next write, which stops the run like Ctrl-C.
  signal(SIGPIPE, SIG_IGN);
}

std::string Format(CliText id, int language, const std::string& word) {
  const std::string text = CliTextOf(id, language);
  const auto mark = text.find_first_of('%');
  return mark == std::string::npos ? text : text.substr(0, mark) + word + text.substr(mark + 2);
}

void Complain(const std::string& text) { std::fprintf(stderr, "velora: %s\n", text.c_str()); }

std::string DefaultScratchDir() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  // Never the top of the file system: the password database knows the home folder.
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return ".";
}

bool DisplayPresent() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

// The screen of a desktop session as the window records it: device pixels and the X server's
// bits per pixel, with the font smoothing read afresh each time.
DisplayState DesktopDisplayState() {
  DisplayState state;
  if (const auto mode = ReadX11DisplayMode()) {
    state.width = mode->width;
    state.height = mode->height;
    state.bitsPerPixel = mode->bitsPerPixel;
  }
  state.fontSmoothing = fontSmoothingType();
  return state;
}

// Registers (or prints) a finished run; the exit status.
int SubmitRun(const SubmitRequest& request, const BenchResult& result, int language) {
  if (!CommandLineRunComplete(result, DisplayPresent())) {
    Complain(language == kEnglish ? "the run is not complete: nothing was submitted"
                                  : "完全な計測ではないため登録しません");
    return 1;
  }
  // Progress goes to standard error, so a dry run's standard output is the body alone.
  std::fputs(language == kEnglish ? "velora: reading the machine for the entry\n"
                                  : "velora: 登録のためにマシン情報を読み取っています\n",
             stderr);
  const MachineSnapshot machine = CollectMachine(kSystemPart | kCpuPart | kDevicePart | kDiskPart);
  const Settings settings = ProgramSettings();
  const DeviceFacts device = DeviceFactsOf(machine.device);
  std::string error;
  const auto form =
      CommandLineForm(settings, machine.cpu, device, machine.memoryBytes, request, error);
  if (!form) {
    Complain(error);
    return 2;
  }
  const SubmitOutcome outcome = SubmitRegistration(
      *form, EntryMachineOf(machine.cpu, machine.system, machine.os.build, device), result,
      BaseTitle(machine.release), settings.ReadSetting("RankingServer"), language, !request.submit);
  if (!outcome.out.empty()) {
    // A dry run writes exactly the bytes it would post: the body and its terminating zero byte.
    if (request.submit) {
      std::printf("%s\n", outcome.out.c_str());
    } else {
      std::fwrite(outcome.out.c_str(), 1, outcome.out.size() + 1, stdout);
    }
    if (std::fflush(stdout) != 0) {
      Complain(Format(CliText::kOutputLost, language, ErrorReason(errno, language)));
      return 1;
    }
  }
  if (!outcome.error.empty()) Complain(outcome.error);
  return outcome.exitCode;
}

int RunMark(const MarkCommand& command, int language) {
  if (!command.mask.empty() && !BenchRunner::ApplyProcessorMask(command.mask)) {
    Complain(Format(CliText::kMaskNotApplied, language, command.mask));
  }
  RunOptions options;
  options.processorMaskText = command.mask;
  options.scratchRoot = command.hddDir.empty() ? DefaultScratchDir() : command.hddDir;
  MountInfo mount;
  options.scratchFixedDisk = MountOfPath(options.scratchRoot, mount) && IsFixedDiskMount(mount);
  options.scratchSizeText = std::to_string(command.hddSizeMb) + "MB";
  options.language = language;

  LinkedBenchEngine engine;
  LinuxBenchHost host(DisplayPresent() ? std::function<DisplayState()>(DesktopDisplayState)
                                       : std::function<DisplayState()>());
  // With --json standard output carries the record alone, with a dry run the body alone.
  const bool outputReserved = command.json || command.submit.dryRun;
  std::FILE* progress = outputReserved ? stderr : stdout;
  ConsoleProgress observer(engine, command.tests, progress, isatty(fileno(progress)) == 1, language,
                           [] {
                             if (BenchRunner* runner = activeRunner.load()) runner->RequestStop();
                           });
  BenchRunner runner(engine, host, observer, ConfiguredProcessorCount());
  runner.SetOptions(options);

  activeRunner = &runner;
  InstallSignalHandlers();
  // A library that ends the process with exit() still takes the scratch folder with it.
  std::atexit(RemoveScratchFoldersNow);

  size_t failures = 0;
  bool stopped = false;
  for (const int test : command.tests) {
    // A signal before the start: StartRun would clear its stop request.
    if (signalsSeen.load() > 0) {
      stopped = true;
      break;
    }
    if (!runner.StartRun(test)) {
      Complain(CliTextOf(CliText::kCannotStart, language));
      activeRunner = nullptr;
      return 1;
    }
    runner.WaitUntilIdle();
    failures += runner.Failures().size();
    stopped = runner.StopRequested() || signalsSeen.load() > 0;
    if (stopped) break;
  }
  activeRunner = nullptr;

  const BenchResult result = runner.Snapshot();
  // The report's lines end in CR LF; a terminal or pipe wants LF.
  // Without a screen there is no display mode to report.
  const bool screen = result.runSettings.display.width != 0;
  std::string block = ResultTextBlock(result, screen ? result.runSettings.displayMode : "",
                                      result.runSettings.fontSmoothing, "");
  std::erase(block, '\r');
  if (command.json) block = ResultRecordJson(result);
  int outputError = observer.OutputError();
  std::FILE* blockOut = command.submit.dryRun && !command.json ? stderr : stdout;
  if (outputError == 0) {
    errno = 0;
    std::fputs(block.c_str(), blockOut);
    if (std::fflush(blockOut) != 0 || std::ferror(blockOut)) outputError = errno != 0 ? errno : EIO;
  }
  if (outputError != 0) {
    Complain(Format(CliText::kOutputLost, language, ErrorReason(outputError, language)));
  }
  if (stopped && outputError == 0) Complain(CliTextOf(CliText::kStopped, language));
  if (failures > 0) {
    Complain(Format(CliText::kFailedSubTests, language, std::to_string(failures)));
  }
  int status = stopped || failures > 0 || outputError != 0 || observer.Failed() ? 1 : 0;
  if (!command.reportFile.empty() && !stopped) {
    ReportRequest report{command.reportHtml, command.reportTemplate, command.reportFile, {}};
    if (WriteReport(report, ReportPagesOf(CollectMachine(kReportParts), result),
                    ProcessCpuidSource()) != 0) {
      status = 1;
    }
  }
  if (status == 0 && (command.submit.submit || command.submit.dryRun)) {
    return SubmitRun(command.submit, result, language);
  }
  return status;
}

int Usage(int language, bool asked) {
  std::FILE* out = asked ? stdout : stderr;
  std::fputs(CliTextOf(CliText::kUsage, language), out);
  std::fputs("\n", out);
  std::fputs(InfoUsage(), out);
  std::fputs(ReportUsage(), out);
  std::fputs(RecordUsage(), out);
  return asked ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  const int language = CliLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                   std::getenv("LANG"), ProgramSettings().ReadSetting("Language"));
  if (words.empty()) return Usage(language, false);
  if (words[0] == "--version") {
    std::printf("velora %s\n", kCoreVersion);
    return 0;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    if (words.size() > 1 && words[1] != "mark" && words[1] != "info" && words[1] != "report" &&
        words[1] != "record") {
      Complain(Format(CliText::kUnknownCommand, language, words[1]));
      return Usage(language, false);
    }
    return Usage(language, true);
  }
  if (words[0] == "info") {
    std::string error;
    const auto info = ParseInfoCommand({words.begin() + 1, words.end()}, error);
    if (!info) {
      Complain(error);
      std::fputs("\n", stderr);
      return Usage(language, false);
    }
    return RunInfo(*info, language);
  }
  if (words[0] == "report") {
    std::string error;
    const auto report = ParseReportCommand({words.begin() + 1, words.end()}, error);
    if (!report) {
      Complain(error);
      std::fputs("\n", stderr);
      return Usage(language, false);
    }
    const std::unique_ptr<MachineAccess> access = AccessFrom(report->from);
    if (!access) return 2;
    // The CPUID block of a report reads the same machine as its pages.
    const std::unique_ptr<CpuidSource> cpuid = ReportCpuidOf(*access);
    return WriteReport(*report, ReportPagesOf(CollectMachine(kReportParts, *access), BenchResult{}),
                       *cpuid);
  }
  if (words[0] == "record") {
    std::string error;
    const auto record = ParseRecordCommand({words.begin() + 1, words.end()}, error);
    if (!record) {
      Complain(error);
      std::fputs("\n", stderr);
      return Usage(language, false);
    }
    if (record->help) return Usage(language, true);
    return RunRecord(*record);
  }
  if (words[0] != "mark") {
    Complain(Format(CliText::kUnknownCommand, language, words[0]));
    std::fputs("\n", stderr);
    return Usage(language, false);
  }
  std::string error;
  const auto command = ParseMarkCommand({words.begin() + 1, words.end()},
                                        ConfiguredProcessorCount(), language, error);
  if (!command) {
    Complain(error);
    std::fputs("\n", stderr);
    return Usage(language, false);
  }
  if (command->help) return Usage(language, true);
  return RunMark(*command, language);
}
