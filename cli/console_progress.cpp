#include "cli/console_progress.h"

#include <cerrno>

#include "bench/bench_result.h"
#include "bench/sub_test_cells.h"
#include "core/ui_language.h"

namespace velora {

std::string ProgressBarLine(int done, int total, const std::string& label, int width) {
  if (total < 1) total = 1;
  if (done < 0) done = 0;
  if (done > total) done = total;
  const int filled = done * width / total;
  std::string bar = "[" + std::string(static_cast<size_t>(filled), '#') +
                    std::string(static_cast<size_t>(width - filled), '.') + "]";
  char count[32];
  std::snprintf(count, sizeof count, " %2d/%d ", done, total);
  return bar + count + label;
}

ConsoleProgress::ConsoleProgress(BenchEngine& engine, const std::vector<int>& tests, std::FILE* out,
                                 bool terminal, int language, std::function<void()> onOutputLost)
    : out_(out), terminal_(terminal), language_(language), onOutputLost_(std::move(onOutputLost)) {
  for (const int test : tests) {
    // The runs of BenchRunner: tests 1 to 9 for a full run, else the one test.
    const int first = test == kTestOverall ? 1 : test;
    const int last = test == kTestOverall ? 9 : test;
    for (int t = first; t >= 1 && t <= last && t <= 10; ++t) {
      for (int s = 0; s < 8; ++s) {
        names_[t][s] = engine.BenchString(t, s);
        if (!names_[t][s].empty()) ++total_;
      }
    }
  }
}

void ConsoleProgress::CheckOutput() {
  if (outputError_ != 0) return;
  if (std::fflush(out_) == 0 && !std::ferror(out_)) return;
  outputError_ = errno != 0 ? errno : EIO;
  failed_ = true;
  if (onOutputLost_) onOutputLost_();
}

void ConsoleProgress::SubTestStarted(int test, int subTest) {
  if (!terminal_ || test < 0 || test > 10 || subTest < 0 || subTest > 7) return;
  const std::string& name = names_[test][subTest];
  if (name.empty()) return;
  std::fprintf(
      out_, "\r\033[K%s",
      ProgressBarLine(done_, total_, std::string(TestShortName(test)) + " " + name + " ...")
          .c_str());
  CheckOutput();
}

void ConsoleProgress::SubTestShown(int test, int subTest, int score, int value) {
  if (test < 0 || test > 10 || subTest < 0 || subTest > 7) return;
  const std::string& name = names_[test][subTest];
  if (terminal_) std::fputs("\r\033[K", out_);
  if (name.empty()) return;  // a sub-test the engine does not have
  ++done_;
  // The list's value cell, then the score (empty when negative, as the list shows it).
  const SubTestCells cells = SubTestCellsOf(test, score, value);
  // A negative score is no result: say so rather than leave an empty row.
  const std::string scoreText =
      score >= 0 ? std::to_string(score) : (language_ == kEnglish ? "failed" : "失敗");
  std::fprintf(out_, "%-4s %-24s %12s %8s\n", TestShortName(test), name.c_str(),
               cells.column1.c_str(), scoreText.c_str());
  CheckOutput();
}

void ConsoleProgress::SubTestFailed(int, int, const std::string& text) {
  std::fprintf(stderr, "velora: %s\n", text.c_str());
  failed_ = true;
}

void ConsoleProgress::MessageShown(const std::string& text) {
  if (terminal_) std::fputs("\r\033[K", out_);
  std::fprintf(stderr, "velora: %s\n", text.c_str());
  failed_ = true;
}

}  // namespace velora
