// Texts that show nothing or hide controls, and scores beyond what a run can give: each refused
// with its code, and their harmless neighbours taken.

#include "server/text_rules.h"

#include <gtest/gtest.h>

#include "server/result_codes.h"
#include "server/score_bounds.h"
#include "tests/server/sample_registration.h"

namespace velora::server {
namespace {

using velora::testing::Sample;
using velora::testing::SampleMachine;

int32_t RefusalOf(const std::string& body) {
  return CheckRegistration(ParseFormBody(std::string(body.c_str(), body.size() + 1))).refusal;
}

TEST(TextRules, InvisibleNamesAndHiddenControlsAreRefused) {
  const std::string zeroWidthSpace = "\xE2\x80\x8B";
  const struct {
    void (*change)(RankingForm&);
    int32_t code;
  } cases[] = {
      {[](RankingForm& f) { f.userName = "\xE2\x80\x8B\xE2\x80\x8B"; }, kMissingField},
      {[](RankingForm& f) { f.machineName = "\xE3\x80\x80 \xC2\xA0"; }, kMissingField},
      {[](RankingForm& f) { f.cpuName = "\xEF\xBB\xBF\xE2\x81\xA0"; }, kMissingField},
      {[](RankingForm& f) { f.area = "\xE3\x85\xA4"; }, kMissingField},  // Hangul filler
      {[](RankingForm& f) { f.userName = "Taro\xC2\x9B[31m"; }, kMarkupInText},  // C1 CSI
      {[](RankingForm& f) { f.machineName = "Box\xE2\x80\xAE" "cod.exe"; }, kMarkupInText},
      {[](RankingForm& f) { f.comment = "ok \xE2\x81\xA6isolated\xE2\x81\xA9"; }, kMarkupInText},
      {[](RankingForm& f) { f.web = "https://\xC2\x85x"; }, kMarkupInText},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SampleMachine machine = Sample("Taro");
    cases[i].change(machine.form);
    EXPECT_EQ(RefusalOf(machine.Body()), cases[i].code) << "case " << i;
  }
  // Visible text around invisible characters, a blank comment and right-to-left script pass.
  SampleMachine machine = Sample("Ta" + zeroWidthSpace + "ro");
  machine.form.comment = "   ";
  machine.form.machineName = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // Hebrew, no control
  EXPECT_EQ(RefusalOf(machine.Body()), 0);
}

// Replaces the first "key=...&" of the client's body by "key=value&".
std::string WithValue(std::string body, const std::string& key, const std::string& value) {
  const size_t at = body.find("&" + key + "=");
  const size_t end = body.find('&', at + 1);
  return body.replace(at + 2 + key.size(), end - at - 2 - key.size(), value);
}

TEST(ScoreBounds, ScoresAboveWhatARunGivesAreRefused) {
  const std::string body = Sample("Taro").Body();
  const struct {
    const char* key;
    const char* value;
    int32_t code;
  } cases[] = {
      {"Mark", "9223372036854775807", kBadNumber}, {"Mark", "2147483648", kBadNumber},
      {"Mark", "2147483647", 0},                   {"TNET", "2147483648", kBadNumber},
      {"ALU1", "4294967296", kBadNumber},          {"OGL8V", "2147483648", kBadNumber},
      {"OGL8V", "2147483647", 0},                  {"HDD3", "-1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RefusalOf(WithValue(body, c.key, c.value)), c.code) << c.key << "=" << c.value;
  }
}

}  // namespace
}  // namespace velora::server
