#pragma once
// Every key of the registration body, in the order the client writes them, with the kind of
// value each carries.

#include <string>
#include <vector>

namespace velora::server {

enum class ValueKind {
  kText,     // free text; may be empty
  kInteger,  // decimal integer, -1 standing for every negative
  kDecimal,  // decimal number as "%.2f" prints it
  kFlag,     // 0 or 1
  kCheck,    // the closing "1"
};

struct BodyKey {
  std::string name;
  ValueKind kind;
};

// The ten tests, in the order of their keys.
extern const std::vector<std::string> kTestKeys;

const std::vector<BodyKey>& RegistrationKeys();

}  // namespace velora::server
