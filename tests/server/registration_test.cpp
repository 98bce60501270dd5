#include "server/registration.h"

#include <gtest/gtest.h>

#include "server/result_codes.h"
#include "tests/server/sample_registration.h"

namespace velora::server {
namespace {

using velora::testing::Sample;
using velora::testing::SampleMachine;

int32_t RefusalOf(const SampleMachine& machine) {
  const std::string body = machine.Body();
  return CheckRegistration(ParseFormBody(std::string(body.c_str(), body.size() + 1))).refusal;
}

// Replaces the first "key=...&" of the client's body by "key=value&".
std::string WithValue(std::string body, const std::string& key, const std::string& value) {
  const size_t at = body.find("&" + key + "=");
  const size_t end = body.find('&', at + 1);
  return body.replace(at + 2 + key.size(), end - at - 2 - key.size(), value);
}

TEST(Registration, TheClientsBodyPassesAndReadsBack) {
  SampleMachine machine = Sample("  Taro & Hanako = 2 + 1");
  machine.form.comment = "new cooler\r\n<3 it";
  machine.form.raid = 1;
  machine.form.raidController = "Intel ICH8R";
  machine.form.disk = "";
  const std::string body = machine.Body();
  const CheckedRegistration checked =
      CheckRegistration(ParseFormBody(std::string(body.c_str(), body.size() + 1)));
  ASSERT_EQ(checked.refusal, 0) << ResultCodeText(checked.refusal);
  const Registration& r = checked.registration;
  EXPECT_EQ(r.Value("UserName"), "Taro & Hanako = 2 + 1");
  EXPECT_EQ(r.Value("Comment"), "new cooler\r\n<3 it");
  EXPECT_EQ(r.Value("Major"), " 0");
  EXPECT_EQ(r.Integer("Mark"), 5000);
  EXPECT_EQ(r.Integer("TNET"), 510);
  EXPECT_EQ(r.Integer("NET8V"), 10007);
  EXPECT_DOUBLE_EQ(r.Decimal("SystemClockUser"), 266.67);
  EXPECT_EQ(r.BodyWithoutPassword().find("secret"), std::string::npos);
}

TEST(Registration, RefusesEmptyRequiredFieldsAndClocksNotAboveZero) {
  const struct {
    void (*change)(RankingForm&);
    int32_t code;
  } cases[] = {
      {[](RankingForm& f) { f.userName = "   "; }, kMissingField},
      {[](RankingForm& f) { f.cpuName = ""; }, kMissingField},
      {[](RankingForm& f) { f.machineName = ""; }, kMissingField},
      {[](RankingForm& f) { f.country = ""; }, kMissingField},
      {[](RankingForm& f) { f.password = ""; }, kMissingField},
      {[](RankingForm& f) { f.chipSet = ""; }, kMissingField},
      {[](RankingForm& f) { f.video = ""; }, kMissingField},
      {[](RankingForm& f) { f.memory = ""; }, kMissingField},
      {[](RankingForm& f) { f.disk = ""; }, kMissingField},
      {[](RankingForm& f) { f.raid = 1; }, kMissingField},  // no controller
      {[](RankingForm& f) { f.clock = "0"; }, kBadClock},
      {[](RankingForm& f) { f.systemClockOriginal = "-3"; }, kBadClock},
      {[](RankingForm& f) { f.multiplierOriginal = "x"; }, kBadClock},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SampleMachine machine = Sample("Taro");
    cases[i].change(machine.form);
    EXPECT_EQ(RefusalOf(machine), cases[i].code) << "case " << i;
  }
}

TEST(Registration, RefusesMarkupControlBytesBrokenUtf8AndOversizedTexts) {
  const struct {
    void (*change)(RankingForm&);
    int32_t code;
  } cases[] = {
      {[](RankingForm& f) { f.userName = "<script>alert(1)</script>"; }, kMarkupInText},
      {[](RankingForm& f) { f.comment = "nice <img src=x onerror=alert(1)>"; }, kMarkupInText},
      {[](RankingForm& f) { f.machineName = "a</b"; }, kMarkupInText},
      {[](RankingForm& f) { f.web = "<!-- x"; }, kMarkupInText},
      {[](RankingForm& f) { f.machineName = "two\nlines"; }, kMarkupInText},
      {[](RankingForm& f) { f.machineName = "bell\x07"; }, kMarkupInText},
      {[](RankingForm& f) { f.area = "\xE6\x97"; }, kMarkupInText},      // cut short
      {[](RankingForm& f) { f.area = "\xC0\xAF"; }, kMarkupInText},      // over-long "/"
      {[](RankingForm& f) { f.area = "\xED\xA0\x80"; }, kMarkupInText},  // a surrogate
      {[](RankingForm& f) { f.comment = std::string(1025, 'c'); }, kTooLarge},
      {[](RankingForm& f) { f.mail = std::string(257, 'm'); }, kTooLarge},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SampleMachine machine = Sample("Taro");
    cases[i].change(machine.form);
    EXPECT_EQ(RefusalOf(machine), cases[i].code) << "case " << i;
  }
  // At the limits, and with "<" that opens no tag, the texts pass.
  SampleMachine machine = Sample("Taro");
  machine.form.comment = std::string(1024, 'c');
  machine.form.mail = std::string(256, 'm');
  machine.form.machineName = "1 < 2 > 0, \xE6\x97\xA5\xE6\x9C\xAC";
  EXPECT_EQ(RefusalOf(machine), 0);
}

TEST(Registration, RefusesKeysOutOfPlaceAndNumbersOfTheWrongKind) {
  const std::string body = Sample("Taro").Body();
  const struct {
    std::string body;
    int32_t code;
  } cases[] = {
      {body + "&Extra=1", kWrongKeys},
      {"Machine=Box&" + body, kWrongKeys},
      {body.substr(body.find('&') + 1), kWrongKeys},  // no UserName
      {WithValue(body, "ALU3", "12.5"), kBadNumber},
      {WithValue(body, "Mark", "-2"), kBadNumber},  // the client sends -1 for every negative
      {WithValue(body, "Mark", "+5"), kBadNumber},
      {WithValue(body, "TALU", "99999999999999999999"), kBadNumber},
      {WithValue(body, "DiskSize", "inf"), kBadNumber},
      {WithValue(body, "DiskSize", "1e3"), kBadNumber},
      {WithValue(body, "RaidOn", "2"), kBadNumber},
      {body.substr(0, body.size() - 1) + "0", kMalformedBody},  // check=0
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(CheckRegistration(ParseFormBody(cases[i].body)).refusal, cases[i].code)
        << "case " << i;
  }
  EXPECT_EQ(CheckRegistration(ParseFormBody(WithValue(body, "Mark", "-1"))).refusal, 0);
}

}  // namespace
}  // namespace velora::server
