#pragma once
// The answer codes of the service. 0 or more is an entry number; the negative ones are
// documented in README.md beside this file, one line each, and never change meaning.

#include <cstdint>

namespace velora::server {

enum ResultCode : int32_t {
  kDuplicatePost = -1,
  kMalformedBody = -2,
  kWrongKeys = -3,
  kMissingField = -4,
  kMachineRegistered = -5,
  kBadClock = -6,
  kBadNumber = -7,
  kTooLarge = -8,
  kMarkupInText = -9,
  kTooManyRequests = -10,
  kServiceFault = -11,
  kNoSuchEntry = -20,
  kWrongPassword = -21,
};

// A short English reason, for the reply body and the log.
const char* ResultCodeText(int32_t code);

}  // namespace velora::server
