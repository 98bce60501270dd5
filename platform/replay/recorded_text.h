#pragma once
// Small readers shared by the recorded-text parsers: lines without copying them, and
// hexadecimal fields of a bounded number of digits.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velora::recorded {

// Yields the lines of text one by one, without their "\n" or "\r\n", counting from 1.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line);
  size_t number() const { return number_; }
  // "line 7: " for the line last returned.
  std::string Where() const;

 private:
  std::string_view text_;
  size_t at_ = 0;
  size_t number_ = 0;
};

std::string_view Trim(std::string_view text);
// The next word of text (split at blanks and tabs), removed from it; empty at the end.
std::string_view NextWord(std::string_view& text);
bool StartsWith(std::string_view text, std::string_view prefix);

// digits of 0-9a-fA-F, between minDigits and maxDigits of them (at most 8).
bool HexField(std::string_view digits, size_t minDigits, size_t maxDigits, uint32_t& value);

}  // namespace velora::recorded
