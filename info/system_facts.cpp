#include "info/system_facts.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace velora {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

uint64_t Bytes(int64_t v) { return v < 0 ? 0 : static_cast<uint64_t>(v); }

}  // namespace

int64_t KibField(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 ||
        line[key.size()] != ':')
      continue;
    char* end = nullptr;
    const char* digits = line.c_str() + key.size() + 1;
    long long kib = std::strtoll(digits, &end, 10);
    if (end == digits || kib < 0 || kib > LLONG_MAX / 1024) return -1;
    return kib * 1024;
  }
  return -1;
}

MemoryStatus MemoryStatusFrom(const std::string& meminfo, const std::string& selfStatus) {
  MemoryStatus m;
  m.physicalTotal = Bytes(KibField(meminfo, "MemTotal"));
  int64_t available = KibField(meminfo, "MemAvailable");
  // Kernels before 3.14 have no MemAvailable: free memory is the nearest figure.
  if (available < 0) available = KibField(meminfo, "MemFree");
  m.physicalAvailable = Bytes(available);
  m.pageTotal = Bytes(KibField(meminfo, "CommitLimit"));
  const uint64_t committed = Bytes(KibField(meminfo, "Committed_AS"));
  // With overcommit the commitments can exceed the limit; nothing is then available.
  m.pageAvailable = committed < m.pageTotal ? m.pageTotal - committed : 0;
  m.virtualTotal = kUserAddressSpaceEnd;
  const uint64_t used = Bytes(KibField(selfStatus, "VmSize"));
  m.virtualAvailable = used < m.virtualTotal ? m.virtualTotal - used : 0;
  return m;
}

MemoryStatus ReadMemoryStatus(const std::string& root) {
  return MemoryStatusFrom(ReadFile(root + "/proc/meminfo"), ReadFile(root + "/proc/self/status"));
}

double ReadUpTimeSeconds(const std::string& root) {
  const std::string text = ReadFile(root + "/proc/uptime");
  char* end = nullptr;
  double seconds = std::strtod(text.c_str(), &end);
  return end == text.c_str() || seconds < 0 ? -1.0 : seconds;
}

uint64_t ReadMinimumMapAddress(const std::string& root) {
  const std::string text = ReadFile(root + "/proc/sys/vm/mmap_min_addr");
  char* end = nullptr;
  unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  return end == text.c_str() ? 65536 : v;
}

FixedSystemFacts ReadFixedSystemFacts(const std::string& root) {
  FixedSystemFacts f;
  f.pageSize = static_cast<uint64_t>(std::max(sysconf(_SC_PAGESIZE), 0L));
  f.minimumAddress = ReadMinimumMapAddress(root);
  f.maximumAddress = kUserAddressSpaceEnd - 1;
  if (!root.empty()) {
    // A recorded tree names its host; who runs this program and where its libraries lie say
    // nothing of the recorded machine.
    f.machineName = ReadFile(root + "/proc/sys/kernel/hostname");
    while (!f.machineName.empty() && f.machineName.back() == '\n') f.machineName.pop_back();
    return f;
  }
  char host[HOST_NAME_MAX + 1] = "";
  if (gethostname(host, sizeof host) == 0) {
    host[HOST_NAME_MAX] = '\0';
    f.machineName = host;
  }
  // The password database, not the terminal: a program started from a menu has no login tty.
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    f.userName = found->pw_name != nullptr ? found->pw_name : "";
    f.homeDirectory = found->pw_dir != nullptr ? found->pw_dir : "";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    f.homeDirectory = home;
  }
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&::getpid), &info) != 0 && info.dli_fname != nullptr) {
    std::error_code ec;
    auto real = std::filesystem::canonical(info.dli_fname, ec);
    f.libraryDirectory = (ec ? std::filesystem::path(info.dli_fname) : real).parent_path();
  }
  return f;
}

}  // namespace velora
