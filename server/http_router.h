#pragma once
// Which handler answers a request: exact paths, or a path prefix followed by a number
// ("/api/entries/" + n). GET routes answer HEAD too.

#include <functional>
#include <map>
#include <string>

#include "server/http_message.h"

namespace velora::server {

using HttpHandler = std::function<HttpReply(const HttpRequest&)>;

class HttpRouter {
 public:
  void Get(const std::string& path, HttpHandler handler) { get_[path] = std::move(handler); }
  void Post(const std::string& path, HttpHandler handler) { post_[path] = std::move(handler); }
  // "/api/entries/" answers "/api/entries/123"; the handler reads the number from the path.
  void GetNumbered(const std::string& prefix, HttpHandler handler) {
    numbered_[prefix] = std::move(handler);
  }

  // 404 for an unknown path, 405 for a known path with another method.
  HttpReply Route(const HttpRequest& request) const;

 private:
  const HttpHandler* Find(const std::map<std::string, HttpHandler>& table,
                          const HttpRequest& request) const;

  std::map<std::string, HttpHandler> get_, post_, numbered_;
};

// The number after a numbered route's prefix; 0 when the path does not end in one.
int64_t PathNumber(const std::string& path, const std::string& prefix);

}  // namespace velora::server
