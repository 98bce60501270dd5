// libFuzzer target over the registration body reader and its checks. Besides the sanitizers'
// findings it traps when the reader disagrees with itself: a body written back from the pairs
// it read must read back to the same pairs, and an accepted body must hold every key.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "server/body_keys.h"
#include "server/form_body.h"
#include "server/registration.h"

namespace {

using namespace velora::server;

std::string Escaped(const std::string& value) {
  std::string out;
  for (const char c : value) {
    if (c == '&')
      out += "%26";
    else if (c == '+')
      out += "%2B";
    else if (c == '=')
      out += "%3D";
    else
      out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const ParsedBody parsed = ParseFormBody(body);
  if (parsed.refusal == 0) {
    std::string written;
    for (const FormPair& pair : parsed.pairs) {
      if (!written.empty()) written += '&';
      written += pair.key + '=' + Escaped(pair.value);
    }
    const ParsedBody again = ParseFormBody(written);
    if (again.refusal != 0 || again.pairs.size() != parsed.pairs.size()) __builtin_trap();
    for (size_t i = 0; i < parsed.pairs.size(); ++i) {
      if (again.pairs[i].key != parsed.pairs[i].key ||
          again.pairs[i].value != parsed.pairs[i].value) {
        __builtin_trap();
      }
    }
  }
  const CheckedRegistration checked = CheckRegistration(parsed);
  if (checked.refusal == 0 && checked.registration.pairs().size() != RegistrationKeys().size()) {
    __builtin_trap();
  }
  return 0;
}
