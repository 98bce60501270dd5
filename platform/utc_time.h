#pragma once
// The time now in UTC as ISO 8601 ("2026-12-10T04:02:31Z"), for logs and manifests that are read
// on other machines.

#include <ctime>
#include <string>

namespace velora {

inline std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

}  // namespace velora
