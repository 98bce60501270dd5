#include "cli/mark_command.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "bench/bench_result.h"
#include "bench/processor_mask.h"

namespace velora {

namespace {

struct NamedTest {
  const char* name;
  int test;
};

// The tests that have a button; MMT and D3D run only within a full run.
constexpr std::array<NamedTest, 8> kNamedTests{{
    {"MARK", kTestOverall},
    {"ALU", kTestAlu},
    {"FPU", kTestFpu},
    {"MEM", kTestMem},
    {"HDD", kTestHdd},
    {"GDI", kTestGdi},
    {"D2D", kTestD2d},
    {"OGL", kTestOgl},
}};

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
  // The engine's file size field is 32 bits.
  if (value < 1 || value > 4095) return false;
  mb = static_cast<int>(value);
  return true;
}

}  // namespace

int TestOfName(const std::string& name) {
  const std::string upper = Upper(name);
  for (const NamedTest& named : kNamedTests) {
    if (upper == named.name) return named.test;
  }
  return -1;
}

std::optional<MarkCommand> ParseMarkCommand(const std::vector<std::string>& words,
                                            std::string& error) {
  MarkCommand command;
  bool testGiven = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool hasValue = i + 1 < words.size();
    if (word == "--hdd-dir" || word == "--hdd-size" || word == "--mask") {
      if (!hasValue) {
        error = word + " needs a value";
        return std::nullopt;
      }
      const std::string& value = words[++i];
      if (word == "--hdd-dir") {
        command.hddDir = value;
      } else if (word == "--hdd-size") {
        if (!ParseSize(value, command.hddSizeMb)) {
          error = "--hdd-size takes 1 to 4095 (MB)";
          return std::nullopt;
        }
      } else {
        if (ProcessorMaskFromText(value) == 0) {
          error = "--mask takes 0001, 0011, 0101, 0111 or 1111";
          return std::nullopt;
        }
        command.mask = value;
      }
    } else if (!testGiven && TestOfName(word) >= 0) {
      command.test = TestOfName(word);
      testGiven = true;
    } else {
      error = "unknown word: " + word;
      return std::nullopt;
    }
  }
  return command;
}

const char* VeloraUsage() {
  return "Usage: velora mark [ALU|FPU|MEM|HDD|GDI|D2D|OGL] [--hdd-dir DIR] [--hdd-size MB]\n"
         "                   [--mask 0001|0011|0101|0111|1111]\n"
         "       velora --help\n"
         "\n"
         "mark          runs the benchmark without a window: every test (a full run, the\n"
         "              default) or the one test named. Each sub-test prints a line as it\n"
         "              finishes; Ctrl-C stops after the current sub-test and removes the\n"
         "              scratch file. At the end the result block of the text report is\n"
         "              printed.\n"
         "--hdd-dir     folder in which the HDD test's scratch folder is made (default: the\n"
         "              home folder)\n"
         "--hdd-size    size of the scratch file in MB (default 128)\n"
         "--mask        processors to run on, read right to left (0101: processors 0 and 2);\n"
         "              applies to the whole process\n"
         "\n"
         "Exit status: 0 when the run ended normally, 1 when it was stopped or could not\n"
         "prepare its scratch file, 2 for a usage error.\n";
}

}  // namespace velora
