#pragma once

#include "platform/system_queries.h"

namespace velora {

// sysconf(_SC_NPROCESSORS_ONLN) and uname's machine field.
class LinuxSystemQueries : public SystemQueries {
 public:
  int32_t OnlineProcessorCount() override;
  std::string MachineName() override;
};

SystemQueries& ProcessSystemQueries();

}  // namespace velora
