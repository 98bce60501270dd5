#include "cli/mark_command.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "bench/bench_result.h"
#include "bench/bench_runner.h"
#include "bench/processor_mask.h"
#include "cli/cli_texts.h"
#include "core/ui_language.h"

namespace velora {

namespace {

// The tests that have a button; MMT and D3D run only within a full run.
constexpr std::array<int, 8> kNamedTests{kTestOverall, kTestAlu, kTestFpu, kTestMem,
                                         kTestHdd,     kTestGdi, kTestD2d, kTestOgl};

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool ParseSize(const std::string& text, int& mb) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || (*end != '\0' && std::string_view(end) != "MB")) return false;
  // Below the engine's smallest file there is nothing to measure; its size field is 32 bits.
  if (value < kSmallestScratchMb || value > 4095) return false;
  mb = static_cast<int>(value);
  return true;
}

std::string Filled(CliText id, int language, const std::string& word) {
  const std::string text = CliTextOf(id, language);
  const auto mark = text.find("%s");
  return mark == std::string::npos ? text : text.substr(0, mark) + word + text.substr(mark + 2);
}

std::string Joined(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += (text.empty() ? "" : ", ") + entry;
  return text;
}

}  // namespace

int TestOfName(const std::string& name) {
  const std::string upper = Upper(name);
  for (const int test : kNamedTests) {
    if (upper == Upper(TestShortName(test))) return test;
  }
  return -1;
}

std::optional<MarkCommand> ParseMarkCommand(const std::vector<std::string>& words,
                                            int processorCount, int language, std::string& error) {
  MarkCommand command;
  command.tests.clear();
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool hasValue = i + 1 < words.size();
    if (word == "--help" || word == "-h") {
      command.help = true;
    } else if (word == "--json") {
      command.json = true;
    } else if (word == "--html") {
      command.reportHtml = true;
    } else if (word == "--report" || word == "--template") {
      if (!hasValue || words[i + 1].empty()) {
        error = Filled(CliText::kNeedsValue, language, word);
        return std::nullopt;
      }
      (word == "--report" ? command.reportFile : command.reportTemplate) = words[++i];
    } else if (TakeSubmitWord(words, i, command.submit, error)) {
      if (!error.empty()) return std::nullopt;
    } else if (word == "--hdd-dir" || word == "--hdd-size" || word == "--mask") {
      if (!hasValue) {
        error = Filled(CliText::kNeedsValue, language, word);
        return std::nullopt;
      }
      const std::string& value = words[++i];
      if (word == "--hdd-dir") {
        command.hddDir = value;
      } else if (word == "--hdd-size") {
        if (!ParseSize(value, command.hddSizeMb)) {
          error = CliTextOf(CliText::kSizeRange, language);
          return std::nullopt;
        }
      } else {
        const auto offered = ProcessorMaskEntries(processorCount);
        if (std::find(offered.begin(), offered.end(), value) == offered.end()) {
          error = Filled(CliText::kMaskChoices, language, Joined(offered));
          return std::nullopt;
        }
        command.mask = value;
      }
    } else if (TestOfName(word) >= 0) {
      command.tests.push_back(TestOfName(word));
    } else {
      error = Filled(CliText::kUnknownWord, language, word);
      return std::nullopt;
    }
  }
  const bool submits = command.submit.submit || command.submit.dryRun;
  if (submits && !command.tests.empty()) {
    error = language == kEnglish
                ? "--submit registers a full run: name no test"
                : "--submit は全テストの計測だけを登録します: テスト名は指定できません";
    return std::nullopt;
  }
  if (!command.submit.form.empty() && !submits) {
    error = language == kEnglish ? "--form needs --submit or --submit-dry-run"
                                 : "--form には --submit か --submit-dry-run が必要です";
    return std::nullopt;
  }
  if (command.submit.dryRun && (command.json || command.submit.submit)) {
    error = language == kEnglish
                ? "--submit-dry-run prints the body alone: not with --json or --submit"
                : "--submit-dry-run は本文だけを出力します: --json や --submit とは併用できません";
    return std::nullopt;
  }
  if (command.tests.empty()) command.tests.push_back(kTestOverall);
  if (command.reportFile.empty() && (command.reportHtml || !command.reportTemplate.empty())) {
    error = Filled(CliText::kNeedsValue, language, "--report");
    return std::nullopt;
  }
  return command;
}

}  // namespace velora
