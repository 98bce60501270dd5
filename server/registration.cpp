#include "server/registration.h"

#include <charconv>
#include <cstdlib>

#include "server/body_keys.h"
#include "server/result_codes.h"
#include "server/score_bounds.h"
#include "server/text_rules.h"

namespace velora::server {

namespace {

const std::string kEmpty;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional "-", then 1 to 19 digits; -1 stands for every negative, so nothing lower comes.
bool IsInteger(const std::string& text) {
  int64_t number = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && at == end && text[0] != '+' && number >= -1;
}

// "%.2f" output of a finite number: optional "-", digits, optionally "." and digits.
bool IsDecimal(const std::string& text) {
  size_t i = text.empty() || text[0] != '-' ? 0 : 1;
  const size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == digitsStart || i - digitsStart > 30) return false;
  if (i == text.size()) return true;
  if (text[i] != '.') return false;
  const size_t fractionStart = ++i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i == text.size() && i > fractionStart;
}

// Length of the UTF-8 sequence that starts at text[i], 0 when it is not a valid one.
size_t SequenceLength(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t point = 0;
  if ((lead & 0xE0) == 0xC0)
    length = 2, point = lead & 0x1F;
  else if ((lead & 0xF0) == 0xE0)
    length = 3, point = lead & 0x0F;
  else if ((lead & 0xF8) == 0xF0)
    length = 4, point = lead & 0x07;
  else
    return 0;
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    point = point << 6 | (byte(i + k) & 0x3F);
  }
  constexpr uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (point < kShortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool OpensTag(const std::string& text, size_t i) {
  if (text[i] != '<' || i + 1 >= text.size()) return false;
  const char next = text[i + 1];
  return (next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z') || next == '/' ||
         next == '!' || next == '?';
}

int32_t CheckKeys(const std::vector<FormPair>& pairs) {
  const std::vector<BodyKey>& keys = RegistrationKeys();
  if (pairs.size() != keys.size()) return kWrongKeys;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (pairs[i].key != keys[i].name) return kWrongKeys;
  }
  return 0;
}

int32_t CheckValues(const std::vector<FormPair>& pairs) {
  const std::vector<BodyKey>& keys = RegistrationKeys();
  // Sizes and markup first: they say more about a hostile body than a bad number does.
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].kind != ValueKind::kText) continue;
    const bool comment = keys[i].name == "Comment";
    if (pairs[i].value.size() > (comment ? kMaxCommentBytes : kMaxTextBytes)) return kTooLarge;
    if (!IsPlainText(pairs[i].value, comment)) return kMarkupInText;
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::string& value = pairs[i].value;
    switch (keys[i].kind) {
      case ValueKind::kText: break;
      case ValueKind::kInteger:
        if (!IsInteger(value)) return kBadNumber;
        break;
      case ValueKind::kDecimal:
        if (!IsDecimal(value)) return kBadNumber;
        break;
      case ValueKind::kFlag:
        if (value != "0" && value != "1") return kBadNumber;
        break;
      case ValueKind::kCheck:
        if (value != "1") return kMalformedBody;
        break;
    }
  }
  return 0;
}

int32_t CheckRequired(const Registration& r) {
  for (const char* key : {"UserName", "CpuNameUser", "Machine", "Country", "Password",
                          "ChipSetUser", "VideoUser", "MemoryUser"}) {
    if (r.Value(key).empty()) return kMissingField;
  }
  if (r.Value(r.Value("RaidOn") == "1" ? "RaidController" : "DiskName").empty()) {
    return kMissingField;
  }
  for (const char* key : {"ClockUser", "ClockOriUser", "SystemClockUser", "SystemClockOriUser",
                          "MultiplierUser", "MultiplierOriUser"}) {
    if (!(r.Decimal(key) > 0)) return kBadClock;
  }
  return 0;
}

}  // namespace

bool IsPlainText(const std::string& text, bool multiline) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool allowedControl = c == '\t' || (multiline && (c == '\r' || c == '\n'));
    if ((c < 0x20 && !allowedControl) || c == 0x7F || OpensTag(text, i)) return false;
    const size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

const std::string& Registration::Value(const std::string& key) const {
  for (const FormPair& pair : pairs_) {
    if (pair.key == key) return pair.value;
  }
  return kEmpty;
}

int64_t Registration::Integer(const std::string& key) const {
  return std::strtoll(Value(key).c_str(), nullptr, 10);
}

double Registration::Decimal(const std::string& key) const {
  return std::strtod(Value(key).c_str(), nullptr);
}

std::string Registration::BodyWithoutPassword() const {
  std::string body;
  for (const FormPair& pair : pairs_) {
    if (pair.key == "Password") continue;
    // A zero byte never occurs in a value, so no two bodies join alike.
    body += pair.key + '=' + pair.value + '\0';
  }
  return body;
}

CheckedRegistration CheckRegistration(ParsedBody parsed) {
  CheckedRegistration checked;
  checked.refusal = parsed.refusal;
  if (checked.refusal == 0) checked.refusal = CheckKeys(parsed.pairs);
  if (checked.refusal == 0) checked.refusal = CheckValues(parsed.pairs);
  checked.registration = Registration(std::move(parsed.pairs));
  if (checked.refusal == 0) checked.refusal = CheckRequired(checked.registration);
  if (checked.refusal == 0) checked.refusal = CheckTextRules(checked.registration);
  if (checked.refusal == 0) checked.refusal = CheckScoreBounds(checked.registration);
  return checked;
}

}  // namespace velora::server
