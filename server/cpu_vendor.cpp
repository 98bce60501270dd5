#include "server/cpu_vendor.h"

#include <algorithm>
#include <cctype>

namespace velora::server {

namespace {

struct Clue {
  const char* word;  // lower case
  const char* vendor;
};

// Vendor strings first, then makers' names, then brand names; "core" comes last, as AMD
// names carry it too ("Dual-Core").
constexpr Clue kClues[] = {
    {"genuineintel", "Intel"}, {"authenticamd", "AMD"},     {"centaurhauls", "VIA"},
    {"intel", "Intel"},        {"amd", "AMD"},              {"athlon", "AMD"},
    {"ryzen", "AMD"},          {"opteron", "AMD"},          {"sempron", "AMD"},
    {"phenom", "AMD"},         {"turion", "AMD"},           {"duron", "AMD"},
    {"epyc", "AMD"},           {"threadripper", "AMD"},     {"pentium", "Intel"},
    {"celeron", "Intel"},      {"xeon", "Intel"},           {"zhaoxin", "VIA"},
    {"via ", "VIA"},           {"core", "Intel"},           {"atom", "Intel"},
};

std::string Lower(const std::string& text) {
  std::string out = text;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

const char* VendorIn(const std::string& text) {
  const std::string lower = Lower(text);
  for (const Clue& clue : kClues) {
    if (lower.find(clue.word) != std::string::npos) return clue.vendor;
  }
  return nullptr;
}

}  // namespace

std::string CpuVendorOf(const std::string& vendorString, const std::string& cpuName) {
  if (const char* vendor = VendorIn(vendorString)) return vendor;
  if (const char* vendor = VendorIn(cpuName)) return vendor;
  return "Other";
}

}  // namespace velora::server
