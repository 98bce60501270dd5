#include "probe/probix_object.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "probe/probe_id_table.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

// Sub-objects that answer a fixed set of ids, to see where the router sends each id.
template <typename Base>
class ScriptedProbe : public Base {
 public:
  using Base::Base;
  std::map<uint32_t, std::string> texts;
  std::map<uint32_t, int32_t> ints;
  int32_t GetString(uint32_t id, std::string& text) override {
    auto it = texts.find(id);
    if (it == texts.end()) return Base::GetString(id, text);
    text = it->second;
    return 0;
  }
  int32_t GetInt(uint32_t id, int32_t& value) override {
    auto it = ints.find(id);
    if (it == ints.end()) return Base::GetInt(id, value);
    value = it->second;
    return 0;
  }
};

using ScriptedCpu = ScriptedProbe<CpuProbe>;
using ScriptedPci = ScriptedProbe<PciProbe>;
using ScriptedSmbios = ScriptedProbe<SmbiosProbe>;

struct Scripts {
  std::map<uint32_t, std::string> cpuTexts, pciTexts, smbiosTexts;
  std::map<uint32_t, int32_t> cpuInts, pciInts, smbiosInts;
};

SubProbeFactory ScriptedFactory(const Scripts& s) {
  SubProbeFactory f;
  f.cpu = [&s](ProbeEnvironment& env, uint32_t mask, int32_t mode) {
    auto p = std::make_unique<ScriptedCpu>(env, mask, mode);
    p->texts = s.cpuTexts;
    p->ints = s.cpuInts;
    return p;
  };
  f.pci = [&s](ProbeEnvironment& env) {
    auto p = std::make_unique<ScriptedPci>(env);
    p->texts = s.pciTexts;
    p->ints = s.pciInts;
    return p;
  };
  f.smbios = [&s](ProbeEnvironment& env) {
    auto p = std::make_unique<ScriptedSmbios>(env);
    p->texts = s.smbiosTexts;
    p->ints = s.smbiosInts;
    return p;
  };
  return f;
}

class ProbixObjectTest : public ::testing::Test {
 protected:
  std::string Text(ProbeObject& probe, uint32_t id, int32_t* result = nullptr) {
    char buffer[kProbeTextCapacity];
    std::memset(buffer, 'x', sizeof buffer);
    int32_t r = probe.GetString(id, buffer);
    if (result) *result = r;
    return buffer;
  }
  int32_t Int(ProbeObject& probe, uint32_t id, int32_t* result = nullptr, int32_t in = 0) {
    int32_t value = in;
    int32_t r = probe.GetInt(id, &value);
    if (result) *result = r;
    return value;
  }

  TestProbeEnvironment t;
  Scripts scripts;
};

TEST_F(ProbixObjectTest, WithoutSubObjectsOnlyTheLibraryIdsAnswer) {
  ProbixObject probe(t.env, 0, ScriptedFactory(scripts));
  EXPECT_EQ(probe.cpu(), nullptr);
  EXPECT_EQ(probe.pci(), nullptr);
  EXPECT_EQ(probe.smbios(), nullptr);

  int32_t r = 99;
  EXPECT_EQ(Text(probe, 1, &r), "275");
  EXPECT_EQ(r, 0);
  EXPECT_EQ(Text(probe, 2, &r), "2005/10/10");
  EXPECT_EQ(Text(probe, 3, &r), "Pellomar");
  EXPECT_EQ(r, 0);
  EXPECT_EQ(Text(probe, 0x300, &r), "0.0");
  EXPECT_EQ(r, 0);

  EXPECT_EQ(Text(probe, 0x2001, &r), "");
  EXPECT_EQ(r, -1);
  EXPECT_EQ(Int(probe, 0x5001, &r), -1);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(Text(probe, 0x1001, &r), "");
  EXPECT_EQ(r, -1);
  EXPECT_EQ(probe.Set(0x1217, 3), -1);
}

TEST_F(ProbixObjectTest, FlagsCreateOnlyTheirSubObjects) {
  scripts.smbiosTexts[0x6100] = "Award";
  ProbixObject defaultFlags(t.env, 0x700, ScriptedFactory(scripts));
  EXPECT_NE(defaultFlags.cpu(), nullptr);
  EXPECT_NE(defaultFlags.pci(), nullptr);
  EXPECT_EQ(defaultFlags.smbios(), nullptr);
  int32_t r = 0;
  EXPECT_EQ(Text(defaultFlags, 0x6100, &r), "");
  EXPECT_EQ(r, -1);

  ProbixObject withSmbios(t.env, 0x1000 | 0x100, ScriptedFactory(scripts));
  EXPECT_EQ(withSmbios.pci(), nullptr);
  EXPECT_EQ(Text(withSmbios, 0x6100, &r), "Award");
  EXPECT_EQ(r, 0);
  // Construction identifies on logical processor 0 with measurement mode 0.
  EXPECT_EQ(withSmbios.cpu()->SelectionMask(), 1u);
  EXPECT_EQ(withSmbios.cpu()->MeasurementMode(), 0);
}

TEST_F(ProbixObjectTest, RangesRouteToTheirSubObjectWithExclusiveUpperBounds) {
  for (uint32_t id : {0x1000u, 0x1FFDu}) scripts.cpuInts[id] = 11;
  for (uint32_t id : {0x2000u, 0x2FFDu, 0x5000u, 0x5FFDu}) scripts.pciInts[id] = 22;
  for (uint32_t id : {0x6000u, 0x6FFDu}) scripts.smbiosInts[id] = 33;
  // The upper bounds answer in the scripted objects too, so only the router can refuse them.
  for (uint32_t id : {0x1FFEu, 0x1FFFu}) scripts.cpuInts[id] = 11;
  for (uint32_t id : {0x2FFEu, 0x2FFFu, 0x5FFEu, 0x5FFFu}) scripts.pciInts[id] = 22;
  for (uint32_t id : {0x6FFEu, 0x6FFFu}) scripts.smbiosInts[id] = 33;
  ProbixObject probe(t.env, 0x1300, ScriptedFactory(scripts));

  EXPECT_EQ(Int(probe, 0x1000), 11);
  EXPECT_EQ(Int(probe, 0x1FFD), 11);
  EXPECT_EQ(Int(probe, 0x2000), 22);
  EXPECT_EQ(Int(probe, 0x2FFD), 22);
  EXPECT_EQ(Int(probe, 0x5000), 22);
  EXPECT_EQ(Int(probe, 0x5FFD), 22);
  EXPECT_EQ(Int(probe, 0x6000), 33);
  EXPECT_EQ(Int(probe, 0x6FFD), 33);
  for (uint32_t id : {0x1FFEu, 0x1FFFu, 0x2FFEu, 0x2FFFu, 0x5FFEu, 0x5FFFu, 0x6FFEu, 0x6FFFu,
                      0x3000u, 0x0u, 0xFFFFFFFFu}) {
    int32_t r = 0;
    EXPECT_EQ(Int(probe, id, &r), -1) << std::hex << id;
    EXPECT_EQ(r, -1) << std::hex << id;
  }
  int32_t r = 0;
  EXPECT_EQ(Text(probe, 0x6FFF, &r), "");
  EXPECT_EQ(r, -1);
}

TEST_F(ProbixObjectTest, DriverStatusIsTheLibraryCopyAndTheResult) {
  t.driver.status = kDriverStartFailed;
  ProbixObject probe(t.env, 0, ScriptedFactory(scripts));
  int32_t value = 0;
  EXPECT_EQ(probe.GetInt(16, &value), 1);
  EXPECT_EQ(value, 1);

  // A processor identification without an open driver reports 4 through the same copy.
  ProbixObject withCpu(t.env, 0x100, ScriptedFactory(scripts));
  EXPECT_EQ(probe.GetInt(16, &value), 4);
  EXPECT_EQ(withCpu.GetInt(16, &value), 4);

  // A new object refreshes the copy from the driver link.
  t.driver.status = kDriverOpen;
  ProbixObject fresh(t.env, 0x200, ScriptedFactory(scripts));
  EXPECT_EQ(fresh.GetInt(16, &value), 0);
  EXPECT_EQ(value, 0);
}

TEST_F(ProbixObjectTest, ProcessorSelectionReidentifiesOrCreates) {
  ProbixObject probe(t.env, 0x100, ScriptedFactory(scripts));
  int32_t r = -5;
  EXPECT_EQ(Int(probe, 0x1103, &r, 2), 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(probe.cpu()->SelectionMask(), 8u);
  EXPECT_EQ(probe.cpu()->MeasurementMode(), 2);
  EXPECT_EQ(probe.cpu()->IdentifyCount(), 2);

  EXPECT_EQ(Int(probe, 0x111F, &r), 0);
  EXPECT_EQ(probe.cpu()->SelectionMask(), 0x80000000u);

  // 0x1120 is an ordinary processor id and the stub has no value for it.
  EXPECT_EQ(Int(probe, 0x1120, &r), -1);
  EXPECT_EQ(r, -1);

  // Without a processor part the selection creates one, with mode 0.
  ProbixObject none(t.env, 0, ScriptedFactory(scripts));
  EXPECT_EQ(Int(none, 0x1105, &r, 3), 0);
  EXPECT_EQ(r, 0);
  ASSERT_NE(none.cpu(), nullptr);
  EXPECT_EQ(none.cpu()->SelectionMask(), 32u);
  EXPECT_EQ(none.cpu()->MeasurementMode(), 0);
  EXPECT_EQ(none.cpu()->IdentifyCount(), 1);
}

TEST_F(ProbixObjectTest, CpuPlatformTakesTheNormalisedSmbiosSocket) {
  scripts.cpuTexts[0x1006] = "Socket 478";
  struct Case {
    const char* designation;
    const char* expected;
  } cases[] = {
      {"CPU Socket-A 462", "Socket A"}, {"Socket A", "Socket A"},   {"Slot 1 (SC242)", "Slot 1"},
      {"Slot-A", "Slot A"},            {"CPU Slot A", "Slot A"},    {"LGA1700", "Socket 478"},
      {"slot 1", "Socket 478"},
  };
  for (const Case& c : cases) {
    scripts.smbiosTexts[0x6300] = c.designation;
    ProbixObject probe(t.env, 0x1100, ScriptedFactory(scripts));
    int32_t r = -1;
    EXPECT_EQ(Text(probe, 0x1006, &r), c.expected) << c.designation;
    EXPECT_EQ(r, 0);
  }
  // No pattern and no processor part: nothing answers.
  scripts.smbiosTexts[0x6300] = "LGA1700";
  ProbixObject smbiosOnly(t.env, 0x1000, ScriptedFactory(scripts));
  int32_t r = 0;
  EXPECT_EQ(Text(smbiosOnly, 0x1006, &r), "");
  EXPECT_EQ(r, -1);
  // Without SMBIOS the processor part answers.
  ProbixObject cpuOnly(t.env, 0x100, ScriptedFactory(scripts));
  EXPECT_EQ(Text(cpuOnly, 0x1006, &r), "Socket 478");
}

TEST_F(ProbixObjectTest, NumberStringBlanksNegativeNumbersOnly) {
  scripts.cpuTexts = {{0x1020, "-1.00"}, {0x1021, "0"},     {0x1022, "n/a"},
                      {0x1023, "133.33"}, {0x1024, "-0.00"}, {0x1025, " -2e1x"}};
  ProbixObject probe(t.env, 0x100, ScriptedFactory(scripts));
  char buffer[kProbeTextCapacity];
  EXPECT_STREQ(probe.GetNumberString(0x1020, buffer), "");
  EXPECT_EQ(probe.GetNumberString(0x1021, buffer), buffer);
  EXPECT_STREQ(buffer, "0");
  EXPECT_STREQ(probe.GetNumberString(0x1022, buffer), "n/a");
  EXPECT_STREQ(probe.GetNumberString(0x1023, buffer), "133.33");
  EXPECT_STREQ(probe.GetNumberString(0x1024, buffer), "-0.00");
  EXPECT_STREQ(probe.GetNumberString(0x1025, buffer), "");
  EXPECT_STREQ(probe.GetNumberString(0x7777, buffer), "");
}

TEST(LeadingNumberTest, ReadsOnlyALeadingDecimalNumber) {
  EXPECT_DOUBLE_EQ(LeadingNumber("2400.05 MHz"), 2400.05);
  EXPECT_DOUBLE_EQ(LeadingNumber("-1.00"), -1.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("-"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("-.x"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("0x10"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(""), 0.0);
}

// The buffers come without a length: a long answer must stop at the documented capacity.
TEST_F(ProbixObjectTest, NoAnswerWritesPastTheDocumentedCapacity) {
  scripts.pciTexts[0x2003] = std::string(300, 'N');
  scripts.pciTexts[0x2007] = std::string(127, 'a') + "\xC3\xA9";  // e-acute across the limit
  ProbixObject probe(t.env, 0x200, ScriptedFactory(scripts));

  char guarded[kProbeTextCapacity + 64];
  std::memset(guarded, 0x5A, sizeof guarded);
  EXPECT_EQ(probe.GetString(0x2003, guarded), 0);
  EXPECT_EQ(std::strlen(guarded), kProbeTextCapacity - 1);
  for (size_t i = kProbeTextCapacity; i < sizeof guarded; ++i) ASSERT_EQ(guarded[i], 0x5A) << i;

  EXPECT_EQ(probe.GetString(0x2007, guarded), 0);
  EXPECT_EQ(std::string(guarded), std::string(127, 'a'));

  std::memset(guarded, 0x5A, sizeof guarded);
  probe.GetNumberString(0x2003, guarded);
  for (size_t i = kProbeTextCapacity; i < sizeof guarded; ++i) ASSERT_EQ(guarded[i], 0x5A) << i;
}

TEST_F(ProbixObjectTest, DirectXTextFitsSixteenBytes) {
  t.directx.provider = DirectXDiagnosticVersion{4000000000u, 4000000000u, 'Z'};
  ProbixObject probe(t.env, 0, ScriptedFactory(scripts));
  char guarded[64];
  std::memset(guarded, 0x5A, sizeof guarded);
  EXPECT_EQ(probe.GetString(0x300, guarded), 0);
  EXPECT_EQ(std::strlen(guarded), 15u);
  for (size_t i = kDirectXTextCapacity; i < sizeof guarded; ++i) ASSERT_EQ(guarded[i], 0x5A);
}

TEST_F(ProbixObjectTest, NullArgumentsAreRefused) {
  ProbixObject probe(t.env, 0x700, ScriptedFactory(scripts));
  EXPECT_EQ(probe.GetString(1, nullptr), -1);
  EXPECT_EQ(probe.GetInt(16, nullptr), -1);
  EXPECT_EQ(probe.GetNumberString(1, nullptr), nullptr);
}

TEST_F(ProbixObjectTest, FailedAllocationLeavesTheSubObjectNull) {
  SubProbeFactory f = ScriptedFactory(scripts);
  f.pci = [](ProbeEnvironment&) -> std::unique_ptr<PciProbe> { throw std::bad_alloc(); };
  ProbixObject probe(t.env, 0x300, f);
  EXPECT_EQ(probe.pci(), nullptr);
  EXPECT_NE(probe.cpu(), nullptr);
  int32_t r = 0;
  EXPECT_EQ(Int(probe, 0x5001, &r), -1);
}

TEST_F(ProbixObjectTest, SetGoesToTheProcessorPartOnly) {
  ProbixObject probe(t.env, 0x100, ScriptedFactory(scripts));
  EXPECT_EQ(probe.Set(0x1217, 5), 0);
  EXPECT_EQ(probe.Set(0x2001, 5), -1);
  EXPECT_EQ(probe.Set(0x1FFE, 5), -1);
}

}  // namespace
}  // namespace velora
