// libFuzzer target over the settings file reader and writer: any bytes as the file. Beyond the
// sanitizers' findings it traps when a key just written does not read back as written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ini_file.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = velora::fuzz::FuzzFile(data, size);
  for (const char* section : {"Setting", "Info", ""}) {
    (void)velora::ReadIniString(path, section, "Language", "jp");
    (void)velora::ReadIniString(path, section, "Password", "", 5);
  }
  const std::string value = "pw " + std::to_string(size);
  if (!velora::WriteIniString(path, "Info", "Password", value)) std::abort();
  if (velora::ReadIniString(path, "info", "password", "") != value) std::abort();
  return 0;
}
