// libFuzzer target over the request head reader. Besides the sanitizers' findings it traps when
// a head is taken beyond its limits, or when the reader claims more bytes than it was given.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "server/http_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velora::server;
  const std::string_view buffer(reinterpret_cast<const char*>(data), size);
  HeadLimits limits;
  limits.maxBytes = 512;
  limits.maxFields = 8;
  HttpRequest request;
  const HeadResult head = ParseHead(buffer, limits, request);
  if (head.status == HeadStatus::kComplete) {
    if (head.headBytes > size || request.headers.size() > limits.maxFields) __builtin_trap();
    if (request.contentLength < 0 || request.path.empty() || request.path[0] != '/')
      __builtin_trap();
    (void)request.Param("ID");
    (void)request.Header("connection");
  }
  return 0;
}
