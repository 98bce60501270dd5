#pragma once
// Which operating system runs: os-release's names and the kernel's release, in the six texts
// the pages, the reports and the CPU page's system line use.

#include <map>
#include <string>

namespace velora {

struct OsIdentity {
  std::string name;         // "Debian GNU/Linux"
  std::string edition;      // os-release VARIANT, often empty
  std::string servicePack;  // "12 (bookworm)"; VERSION_ID or BUILD_ID for rolling releases
  std::string version;      // the kernel's "major.minor"
  std::string build;        // the whole kernel release
  std::string displayName;  // name, then " " and the service pack when there is one
};

// The KEY=value assignments of an os-release file, values unquoted and unescaped. Lines that are
// not assignments are skipped.
std::map<std::string, std::string> ParseOsRelease(const std::string& text);

// From the os-release assignments and the kernel release ("6.1.0-28-amd64").
OsIdentity OsIdentityFrom(const std::map<std::string, std::string>& osRelease,
                          const std::string& kernelRelease);

// Reads root/etc/os-release, else root/usr/lib/os-release, and the running kernel's release (a
// tree under a root: its proc/sys/kernel/osrelease).
OsIdentity IdentifyOperatingSystem(const std::string& root = "");

}  // namespace velora
