#pragma once
// A fake processor for targeted identification tests: each test sets only the leaves it needs.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "probe/cpu/cpu_probe.h"
#include "probe_test_environment.h"

namespace velora {

class CpuFixture : public ::testing::Test {
 protected:
  // Leaf 0 with the vendor string in EBX, EDX, ECX.
  void SetVendor(const char* vendor, uint32_t highestStandard) {
    char bytes[12] = {};
    std::memcpy(bytes, vendor, std::min<size_t>(std::strlen(vendor), 12));
    CpuidRegisters r;
    r.eax = highestStandard;
    std::memcpy(&r.ebx, bytes, 4);
    std::memcpy(&r.edx, bytes + 4, 4);
    std::memcpy(&r.ecx, bytes + 8, 4);
    t.cpuid.Set(0, 0, r);
  }
  void SetHighestExtended(uint32_t highest) { t.cpuid.Set(0x80000000, 0, {highest, 0, 0, 0}); }
  void SetLeaf(uint32_t leaf, CpuidRegisters r, uint32_t sub = 0) { t.cpuid.Set(leaf, sub, r); }

  const CpuFields& Identify() {
    probe_ = std::make_unique<CpuProbe>(t.env, 1, 0);
    return probe_->Fields();
  }
  std::string Text(uint32_t id) {
    std::string text;
    probe_->GetString(id, text);
    return text;
  }
  std::vector<std::string> DetailTexts() {
    std::vector<std::string> out;
    for (uint32_t id = 0x1080; id <= 0x1087; ++id) out.push_back(Text(id));
    return out;
  }
  int32_t Int(uint32_t id) {
    int32_t value = 0;
    probe_->GetInt(id, value);
    return value;
  }

  TestProbeEnvironment t;
  std::unique_ptr<CpuProbe> probe_;
};

}  // namespace velora
