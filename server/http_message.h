#pragma once
// One HTTP/1.1 request and its reply as the service's own front reads and writes them: the head
// is read whole and bounded (bytes and number of fields), bodies only by Content-Length.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velora::server {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method, target, path, query;
  HttpFields headers;  // names in lower case, in the order received
  std::string body;
  std::string remoteAddress;
  bool keepAlive = true;
  int64_t contentLength = 0;

  // The first field of that name (any case); empty when there is none.
  std::string Header(std::string_view name) const;
  // A query parameter, %XX and '+' decoded; empty when absent. Params: every value it has.
  std::string Param(std::string_view name) const;
  std::vector<std::string> Params(std::string_view name) const;
};

struct HttpReply {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  HttpFields headers;
  bool close = false;  // end the connection after this reply

  std::string Header(std::string_view name) const;
};

struct HeadLimits {
  size_t maxBytes = 16 * 1024;  // request line and fields together
  size_t maxFields = 64;
};

enum class HeadStatus {
  kIncomplete,  // no blank line yet, and still within the limits
  kComplete,
  kTooLarge,  // 431: too many bytes or fields
  kMalformed,  // 400
};

struct HeadResult {
  HeadStatus status = HeadStatus::kIncomplete;
  size_t headBytes = 0;  // where the body starts in the buffer
};

// Reads the head at the start of `buffer` into `request` (method, target, path, query,
// headers, keepAlive, contentLength). Transfer-Encoding is refused: bodies come with a length.
HeadResult ParseHead(std::string_view buffer, const HeadLimits& limits, HttpRequest& request);

// Status line, fields, Content-Length and Connection, then the body unless `headOnly`.
std::string WriteReply(const HttpReply& reply, bool keepAlive, bool headOnly);

const char* StatusText(int status);

}  // namespace velora::server
