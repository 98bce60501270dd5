#pragma once
// The operating-system facts the processor identification asks for.

#include <cstdint>
#include <string>

namespace velora {

class SystemQueries {
 public:
  virtual ~SystemQueries() = default;

  // Logical processors online; 0 or less when the system does not say.
  virtual int32_t OnlineProcessorCount() = 0;
  // The kernel's machine name ("x86_64", "i686", ...); empty when unknown.
  virtual std::string MachineName() = 0;
};

}  // namespace velora
