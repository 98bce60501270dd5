#include "platform/replay/recorded_text.h"

namespace velora::recorded {

bool LineReader::Next(std::string_view& line) {
  if (at_ >= text_.size()) return false;
  size_t end = text_.find('\n', at_);
  if (end == std::string_view::npos) end = text_.size();
  line = text_.substr(at_, end - at_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  at_ = end + 1;
  ++number_;
  return true;
}

std::string LineReader::Where() const { return "line " + std::to_string(number_) + ": "; }

namespace {
bool Blank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string_view Trim(std::string_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view NextWord(std::string_view& text) {
  size_t start = 0;
  while (start < text.size() && Blank(text[start])) ++start;
  size_t end = start;
  while (end < text.size() && !Blank(text[end])) ++end;
  std::string_view word = text.substr(start, end - start);
  text.remove_prefix(end);
  return word;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool HexField(std::string_view digits, size_t minDigits, size_t maxDigits, uint32_t& value) {
  if (digits.size() < minDigits || digits.size() > maxDigits || digits.size() > 8) return false;
  value = 0;
  for (const char c : digits) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    value = value << 4 | digit;
  }
  return true;
}

}  // namespace velora::recorded
