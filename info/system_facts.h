#pragma once
// What the System page reads of the running system, and the parsers of the kernel's files it
// comes from. Files are read under a root folder, so a recorded tree stands in for a machine.

#include <cstdint>
#include <ctime>
#include <string>

namespace velora {

struct MemoryStatus {
  uint64_t physicalTotal = 0;      // MemTotal
  uint64_t physicalAvailable = 0;  // MemAvailable
  uint64_t pageTotal = 0;          // CommitLimit
  uint64_t pageAvailable = 0;      // CommitLimit - Committed_AS, never below 0
  uint64_t virtualTotal = 0;       // the user address space
  uint64_t virtualAvailable = 0;   // that less this process's VmSize
};

// The user address space of an x86-64 process with 4-level paging: 128 TiB less one page.
constexpr uint64_t kUserAddressSpaceEnd = (uint64_t{1} << 47) - 4096;

// A "Key:   value kB" field of /proc/meminfo or /proc/self/status, in bytes; -1 when absent.
int64_t KibField(const std::string& text, const std::string& key);

MemoryStatus MemoryStatusFrom(const std::string& meminfo, const std::string& selfStatus);
MemoryStatus ReadMemoryStatus(const std::string& root = "");

// Seconds since boot, suspend included (/proc/uptime's first figure); -1 when unreadable.
double ReadUpTimeSeconds(const std::string& root = "");

// vm.mmap_min_addr; the kernel's default 65536 when unreadable.
uint64_t ReadMinimumMapAddress(const std::string& root = "");

struct FixedSystemFacts {
  std::string machineName;  // the host name
  std::string userName;     // the login name of the real user
  std::string homeDirectory;
  std::string libraryDirectory;  // where the loader took the C library from
  uint64_t pageSize = 0;
  uint64_t minimumAddress = 0;
  uint64_t maximumAddress = 0;
};

// Under a root (a recorded tree): the host name it names, and no user, home or library folder.
FixedSystemFacts ReadFixedSystemFacts(const std::string& root = "");

}  // namespace velora
