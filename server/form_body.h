#pragma once
// The registration body as the client sends it: "key=value" pairs joined by "&", values with
// "&", "+" and "=" escaped as %26, %2B and %3D and every other byte raw, then a zero byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velora::server {

// Bodies of this many bytes or more are refused unread.
constexpr size_t kMaxBodyBytes = 64 * 1024;

struct FormPair {
  std::string key;
  std::string value;  // unescaped
};

struct ParsedBody {
  std::vector<FormPair> pairs;  // in the order they came
  int32_t refusal = 0;          // 0, or the code that refuses the body
};

ParsedBody ParseFormBody(std::string_view body);

}  // namespace velora::server
