#include "platform/replay/recorded_identify.h"

#include <cstdio>

#include "platform/regular_file.h"
#include "platform/replay/recorded_text.h"

namespace velora {

namespace {
constexpr size_t kWords = 256;
constexpr size_t kWordsPerLine = 8;
}  // namespace

bool ParseIdentifyText(std::string_view text, IdentifyBlock& block, std::string& error) {
  error.clear();
  if (text.size() > kLargestIdentifyRecording) {
    error = "is larger than " + SizeText(kLargestIdentifyRecording);
    return false;
  }
  IdentifyBlock words{};
  size_t count = 0;
  recorded::LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    for (std::string_view word = recorded::NextWord(line); !word.empty();
         word = recorded::NextWord(line)) {
      uint32_t value = 0;
      if (count == kWords) {
        error = lines.Where() + "more than 256 words";
        return false;
      }
      if (!recorded::HexField(word, 1, 4, value)) {
        error = lines.Where() + "word " + std::to_string(count) + " is not 1 to 4 hex digits";
        return false;
      }
      words[2 * count] = static_cast<uint8_t>(value);
      words[2 * count + 1] = static_cast<uint8_t>(value >> 8);
      ++count;
    }
  }
  if (count != kWords) {
    error = "holds " + std::to_string(count) + " words; IDENTIFY data is 256";
    return false;
  }
  block = words;
  return true;
}

std::string IdentifyText(const IdentifyBlock& block) {
  std::string text;
  char word[8];
  for (size_t i = 0; i < kWords; ++i) {
    std::snprintf(word, sizeof word, "%04X", block[2 * i] | block[2 * i + 1] << 8);
    text += word;
    text += (i + 1) % kWordsPerLine == 0 ? '\n' : ' ';
  }
  return text;
}

}  // namespace velora
