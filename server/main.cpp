// velora-ranking: the ranking service. Runs until SIGTERM or SIGINT, then finishes the requests
// in progress and closes the database.

#include <pthread.h>
#include <sys/resource.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "server/listen_address.h"
#include "server/ranking_service.h"

namespace {

const char* kUsage =
    "usage: velora-ranking [--listen HOST:PORT] [--db FILE|URI] [--threads N] [--rate PER_MINUTE]\n"
    "                      [--trusted-proxy ADDRESS]\n"
    "  --listen   address to serve on, [::1]:PORT for IPv6 (default 127.0.0.1:8009)\n"
    "  --db       the SQLite file (default $XDG_DATA_HOME/velora09/ranking.sqlite), or a\n"
    "             PostgreSQL database shared by several services: postgresql://USER@HOST/DB\n"
    "  --threads  requests served at once (default 8)\n"
    "  --rate     requests per minute from one address, 0 for no limit (default 120)\n"
    "  --trusted-proxy  the address of a reverse proxy: its requests are counted under the\n"
    "             client address it appends to X-Forwarded-For\n";

std::string DefaultDatabase() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path folder;
  if (data != nullptr && *data == '/')
    folder = data;
  else if (home != nullptr && *home != '\0')
    folder = std::filesystem::path(home) / ".local/share";
  else
    return "ranking.sqlite";
  return (folder / "velora09" / "ranking.sqlite").string();
}

bool ReadCount(const char* text, int& number) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 100000) return false;
  number = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  velora::server::ServiceOptions options;
  options.databasePath = DefaultDatabase();
  for (int i = 1; i < argc; ++i) {
    std::string flag = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    // "--flag=value" as well as "--flag value", as systemd units and scripts write them.
    const size_t equals = flag.find('=');
    const bool joined = flag.rfind("--", 0) == 0 && equals != std::string::npos;
    if (joined) {
      value = argv[i] + equals + 1;
      flag.resize(equals);
    }
    int number = 0;
    if (flag == "--help" || flag == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (flag == "--listen" && value != nullptr) {
      const auto address = velora::server::ParseListenAddress(value);
      if (!address) {
        std::fprintf(stderr, "velora-ranking: --listen wants HOST:PORT or [IPV6]:PORT, not %s\n",
                     value);
        return 2;
      }
      options.host = address->host;
      options.port = address->port;
    } else if (flag == "--db" && value != nullptr) {
      options.databasePath = value;
    } else if (flag == "--threads" && value != nullptr && ReadCount(value, number) && number > 0) {
      options.threads = number;
    } else if (flag == "--trusted-proxy" && value != nullptr && *value != '\0') {
      options.trustedProxy = value;
    } else if (flag == "--rate" && value != nullptr && ReadCount(value, number)) {
      options.rateLimit.perMinute = number;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
    if (!joined) ++i;
  }
  // Every thread the service starts inherits this mask, so only sigwait below sees the signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  // Each waiting client holds a descriptor; the soft limit (often 1024) rises as far as allowed.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 16384);
    setrlimit(RLIMIT_NOFILE, &files);
  }
  velora::server::RankingService service;
  if (!service.Start(options)) {
    std::fprintf(stderr, "velora-ranking: %s\n", service.problem().c_str());
    return 1;
  }
  int signal = 0;
  sigwait(&stopSignals, &signal);
  std::fprintf(stderr, "velora-ranking: signal %d, stopping\n", signal);
  service.Stop();
  return 0;
}
