#pragma once
// The maker of an entry's processor, for the site's filter: from the CPUID vendor string when
// the client sent one, else from the words of the processor's name.

#include <string>

namespace velora::server {

// "Intel", "AMD", "VIA", or "Other".
std::string CpuVendorOf(const std::string& vendorString, const std::string& cpuName);

}  // namespace velora::server
