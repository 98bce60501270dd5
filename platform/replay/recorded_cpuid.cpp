#include "platform/replay/recorded_cpuid.h"

#include <cstdio>
#include <set>

#include "platform/regular_file.h"
#include "platform/replay/recorded_text.h"

namespace velora {

namespace {

using recorded::HexField;
using recorded::NextWord;
using recorded::StartsWith;

constexpr std::string_view kCountComment = "# logical-processors:";

enum class Form { kUndecided, kOwn, kRaw };

struct Parser {
  Parser(CpuidRecording& r, std::string& e, std::string_view text)
      : recording(r), error(e), lines(text) {}

  CpuidRecording& recording;
  std::string& error;
  recorded::LineReader lines;
  Form form = Form::kUndecided;
  bool bareCpu = false;  // "CPU:", the form of a single processor's dump
  bool countGiven = false;
  std::set<uint32_t> numbers;
  size_t headerLine = 0;

  bool Fail(const std::string& reason) {
    error = lines.Where() + reason;
    return false;
  }

  bool Count(std::string_view line) {
    std::string_view rest = line.substr(kCountComment.size());
    std::string_view word = NextWord(rest);
    uint64_t count = 0;
    bool digits = !word.empty() && word.size() <= 9 && NextWord(rest).empty();
    for (const char c : word) {
      if (c < '0' || c > '9') digits = false;
      count = count * 10 + static_cast<uint64_t>(c - '0');
    }
    if (!digits || count < 1 || count > kMostRecordedProcessors) {
      return Fail("logical-processors must be between 1 and " +
                  std::to_string(kMostRecordedProcessors));
    }
    recording.logicalProcessors = static_cast<int32_t>(count);
    countGiven = true;
    return true;
  }

  // "CPU:" or "CPU 3:"
  bool Header(std::string_view line) {
    if (form == Form::kOwn) return Fail("a \"CPU\" line among LEAF SUB EAX EBX ECX EDX lines");
    if (!Closed()) return false;
    form = Form::kRaw;
    uint32_t number = 0;
    std::string_view rest = line.substr(3);
    if (rest == ":") {
      if (!recording.processors.empty()) return Fail("\"CPU:\" names no processor");
      bareCpu = true;
    } else {
      if (bareCpu) return Fail("\"CPU:\" was meant to be the only processor");
      std::string_view word = NextWord(rest);
      if (word.size() < 2 || word.size() > 10 || word.back() != ':' || !NextWord(rest).empty()) {
        return Fail("expected \"CPU n:\"");
      }
      uint64_t value = 0;
      for (const char c : word.substr(0, word.size() - 1)) {
        if (c < '0' || c > '9') return Fail("expected \"CPU n:\"");
        value = value * 10 + static_cast<uint64_t>(c - '0');
      }
      if (value > UINT32_MAX) return Fail("processor number out of range");
      number = static_cast<uint32_t>(value);
      if (!numbers.insert(number).second) return Fail("CPU " + std::to_string(number) + " again");
    }
    if (recording.processors.size() == kMostRecordedProcessors) {
      return Fail("more than " + std::to_string(kMostRecordedProcessors) + " processors");
    }
    recording.processors.push_back({number, {}});
    headerLine = lines.number();
    return true;
  }

  // The block before a new "CPU" line, or the last, must hold a leaf.
  bool Closed() {
    if (recording.processors.empty() || !recording.processors.back().leaves.empty()) return true;
    error = "line " + std::to_string(headerLine) + ": CPU " +
            std::to_string(recording.processors.back().number) + " holds no CPUID leaves";
    return false;
  }

  // "   0x00000000 0x00: eax=0x00000016 ebx=0x756e6547 ecx=0x6c65746e edx=0x49656e69"
  bool RawLeaf(std::string_view line) {
    static constexpr const char* kExpected =
        "expected 0xLEAF 0xSUB: eax=0x... ebx=0x... ecx=0x... edx=0x...";
    if (form != Form::kRaw) return Fail("registers before any \"CPU n:\" line");
    uint32_t v[6] = {};
    std::string_view leaf = NextWord(line);
    std::string_view sub = NextWord(line);
    if (!StartsWith(leaf, "0x") || !HexField(leaf.substr(2), 1, 8, v[0]) || sub.size() < 4 ||
        !StartsWith(sub, "0x") || sub.back() != ':' ||
        !HexField(sub.substr(2, sub.size() - 3), 1, 8, v[1])) {
      return Fail(kExpected);
    }
    static constexpr std::string_view kNames[4] = {"eax=0x", "ebx=0x", "ecx=0x", "edx=0x"};
    for (int i = 0; i < 4; ++i) {
      std::string_view word = NextWord(line);
      if (!StartsWith(word, kNames[i]) || !HexField(word.substr(6), 1, 8, v[i + 2])) {
        return Fail(kExpected);
      }
    }
    if (!NextWord(line).empty()) return Fail(kExpected);
    recording.processors.back().leaves[{v[0], v[1]}] = {v[2], v[3], v[4], v[5]};
    return true;
  }

  // "LEAF SUB EAX EBX ECX EDX"
  bool OwnLeaf(std::string_view line) {
    if (form == Form::kRaw) return Fail("expected a cpuid -r line");
    if (form == Form::kUndecided) recording.processors.push_back({0, {}});
    form = Form::kOwn;
    std::string_view w[6];
    for (auto& word : w) word = NextWord(line);
    if (w[5].empty() || !NextWord(line).empty()) {
      return Fail("expected LEAF SUB EAX EBX ECX EDX, or the output of cpuid -r");
    }
    uint32_t v[6] = {};
    if (!HexField(w[0], 8, 8, v[0]) || !HexField(w[1], 1, 8, v[1])) {
      return Fail("the leaf must be 8 hex digits and the sub-leaf 1 to 8");
    }
    for (int i = 2; i < 6; ++i) {
      if (!HexField(w[i], 8, 8, v[i])) return Fail("register fields must be 8 hex digits");
    }
    // A leaf given twice: the later line holds, as when the lines are replayed in order.
    recording.processors.back().leaves[{v[0], v[1]}] = {v[2], v[3], v[4], v[5]};
    return true;
  }

  bool Run() {
    std::string_view line;
    while (lines.Next(line)) {
      line = recorded::Trim(line);
      if (line.empty()) continue;
      bool ok = true;
      if (line[0] == '#') {
        ok = !StartsWith(line, kCountComment) || Count(line);
      } else if (StartsWith(line, "CPU")) {
        ok = Header(line);
      } else if (StartsWith(line, "0x")) {
        ok = RawLeaf(line);
      } else {
        ok = OwnLeaf(line);
      }
      if (!ok) return false;
    }
    if (recording.processors.empty()) {
      error = "holds no CPUID leaves";
      return false;
    }
    if (!Closed()) return false;
    if (form == Form::kRaw && !countGiven && !bareCpu) {
      recording.logicalProcessors = static_cast<int32_t>(recording.processors.size());
    }
    return true;
  }
};

}  // namespace

bool ParseCpuidRecording(std::string_view text, CpuidRecording& recording, std::string& error) {
  recording = {};
  error.clear();
  if (text.size() > kLargestCpuidRecording) {
    error = "is larger than " + SizeText(kLargestCpuidRecording);
    return false;
  }
  Parser parser(recording, error, text);
  if (parser.Run()) return true;
  recording = {};
  return false;
}

std::string CpuidRawText(const CpuidRecording& recording) {
  std::string text;
  const auto processors = recording.processors.size();
  const bool single =
      processors == 1 && recording.logicalProcessors == 0 && recording.processors[0].number == 0;
  // The count is written only where the blocks do not say it.
  if (recording.logicalProcessors > 0 &&
      static_cast<size_t>(recording.logicalProcessors) != processors) {
    text += std::string(kCountComment) + " " + std::to_string(recording.logicalProcessors) + "\n";
  }
  char line[96];
  for (const RecordedProcessor& processor : recording.processors) {
    text += single ? std::string("CPU:\n") : "CPU " + std::to_string(processor.number) + ":\n";
    for (const auto& [key, r] : processor.leaves) {
      std::snprintf(line, sizeof line,
                    "   0x%08x 0x%02x: eax=0x%08x ebx=0x%08x ecx=0x%08x edx=0x%08x\n", key.first,
                    key.second, r.eax, r.ebx, r.ecx, r.edx);
      text += line;
    }
  }
  return text;
}

}  // namespace velora
