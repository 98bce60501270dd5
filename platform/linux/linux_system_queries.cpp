#include "platform/linux/linux_system_queries.h"

#include <sys/utsname.h>
#include <unistd.h>

namespace velora {

int32_t LinuxSystemQueries::OnlineProcessorCount() {
  long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count > 0 && count < INT32_MAX ? static_cast<int32_t>(count) : 0;
}

std::string LinuxSystemQueries::MachineName() {
  utsname name{};
  if (uname(&name) != 0) return {};
  return name.machine;
}

SystemQueries& ProcessSystemQueries() {
  static LinuxSystemQueries queries;
  return queries;
}

}  // namespace velora
