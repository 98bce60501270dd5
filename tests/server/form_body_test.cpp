#include "server/form_body.h"

#include <gtest/gtest.h>

#include "server/result_codes.h"

namespace velora::server {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs PairsOf(const ParsedBody& parsed) {
  Pairs pairs;
  for (const FormPair& p : parsed.pairs) pairs.emplace_back(p.key, p.value);
  return pairs;
}

TEST(FormBody, ReadsThePairsInOrderWithTheClientsThreeEscapes) {
  // What the client writes for "a&b=c+d ", "100% " and "x=%41": only & + = are escaped.
  const std::string body("UserName=a%26b%3Dc%2Bd &Machine=100% &Web=x%3D%41&check=1\0", 58);
  const ParsedBody parsed = ParseFormBody(body);
  EXPECT_EQ(parsed.refusal, 0);
  EXPECT_EQ(
      PairsOf(parsed),
      (Pairs{{"UserName", "a&b=c+d "}, {"Machine", "100% "}, {"Web", "x=%41"}, {"check", "1"}}));
}

TEST(FormBody, KeepsRawBytesBlanksAndEmptyValues) {
  const ParsedBody parsed = ParseFormBody("Comment=\xE6\x97\xA5 +\r\n%2b&Area=&check=1");
  EXPECT_EQ(parsed.refusal, 0);
  // A plus is a plus (the client never sends one raw), and only the upper-case escapes count.
  EXPECT_EQ(PairsOf(parsed),
            (Pairs{{"Comment", "\xE6\x97\xA5 +\r\n%2b"}, {"Area", ""}, {"check", "1"}}));
}

TEST(FormBody, RefusesWhatTheClientNeverSends) {
  const struct {
    std::string body;
    const char* why;
  } cases[] = {
      {"", "empty"},
      {std::string("\0", 1), "only the zero byte"},
      {std::string("a=1\0b=2\0", 8), "a zero byte inside"},
      {"a=1&", "a trailing ampersand"},
      {"a=1&&b=2", "an empty pair"},
      {"a=1&b", "a pair without ="},
      {"=1", "an empty key"},
      {"a=1=2", "a raw = in a value"},
      {"a b=1", "a blank in a key"},
      {"a%26=1", "an escape in a key"},
  };
  for (const auto& c : cases) {
    const ParsedBody parsed = ParseFormBody(c.body);
    EXPECT_EQ(parsed.refusal, kMalformedBody) << c.why;
    EXPECT_TRUE(parsed.pairs.empty()) << c.why;
  }
}

TEST(FormBody, RefusesABodyOf64KiBOrMore) {
  const std::string value(kMaxBodyBytes - 3, 'x');
  // 65535 bytes in all, zero byte included: the largest that is read.
  EXPECT_EQ(ParseFormBody("a=" + value.substr(1) + std::string(1, '\0')).refusal, 0);
  EXPECT_EQ(ParseFormBody("a=" + value + std::string(1, '\0')).refusal, kTooLarge);
}

}  // namespace
}  // namespace velora::server
