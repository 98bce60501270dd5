// libFuzzer target over the CPUID dump reader: any bytes as the dump. Beyond the sanitizers'
// findings it traps when a refused dump gives no reason or an accepted one loads no leaf.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/fake/fake_cpuid_source.h"
#include "tests/fuzz/fuzz_file.h"
#include "tools/cpuid_dump_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = velora::fuzz::FuzzFile(data, size);
  velora::FakeCpuidSource cpuid;
  std::string error;
  if (velora::ReadCpuidDump(path, cpuid, error)) {
    if (cpuid.leaves.empty()) std::abort();
    (void)cpuid.Query(0, 0);
  } else if (error.empty()) {
    std::abort();
  }
  (void)velora::QuotedProbeText(std::string(reinterpret_cast<const char*>(data), size).c_str());
  return 0;
}
