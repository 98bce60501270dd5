#pragma once
// The operating-system facts of a recorded machine, as the recording gives them.

#include <cstdint>
#include <string>
#include <utility>

#include "platform/system_queries.h"

namespace velora {

class ReplaySystemQueries : public SystemQueries {
 public:
  // processors 0 or less and an empty name: not recorded.
  ReplaySystemQueries(int32_t processors, std::string machineName)
      : processors_(processors), machineName_(std::move(machineName)) {}

  int32_t OnlineProcessorCount() override { return processors_; }
  std::string MachineName() override { return machineName_; }

 private:
  int32_t processors_;
  std::string machineName_;
};

}  // namespace velora
