#pragma once
// A registration body checked against the rules of the service: the known keys in their order,
// every value of its kind, the required fields filled, the clock figures above 0, and texts that
// are plain UTF-8 without markup.

#include <cstdint>
#include <string>
#include <vector>

#include "server/form_body.h"

namespace velora::server {

// Longest text of a field; the comment has its own limit, the one its label promises.
constexpr size_t kMaxTextBytes = 256;
constexpr size_t kMaxCommentBytes = 1024;

class Registration {
 public:
  explicit Registration(std::vector<FormPair> pairs) : pairs_(std::move(pairs)) {}

  const std::vector<FormPair>& pairs() const { return pairs_; }
  // The value of a key of the body ("" when absent).
  const std::string& Value(const std::string& key) const;
  // A key of kind integer, read as a number (0 when absent).
  int64_t Integer(const std::string& key) const;
  double Decimal(const std::string& key) const;

  // Every pair except the password, in order, in one text: what makes two
  // posts the same post without keeping the password in the clear.
  std::string BodyWithoutPassword() const;

 private:
  std::vector<FormPair> pairs_;
};

struct CheckedRegistration {
  Registration registration{{}};
  int32_t refusal = 0;  // 0, or the code that refuses it
};

CheckedRegistration CheckRegistration(ParsedBody parsed);

// True when text is valid UTF-8 with no control characters but tab (and CR/LF where lines are
// allowed) and no "<" that opens a tag.
bool IsPlainText(const std::string& text, bool multiline);

}  // namespace velora::server
