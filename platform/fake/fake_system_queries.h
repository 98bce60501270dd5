#pragma once

#include "platform/system_queries.h"

namespace velora {

class FakeSystemQueries : public SystemQueries {
 public:
  int32_t processors = 1;
  std::string machine = "x86_64";

  int32_t OnlineProcessorCount() override { return processors; }
  std::string MachineName() override { return machine; }
};

}  // namespace velora
