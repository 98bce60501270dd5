#include "server/http_router.h"

namespace velora::server {

const HttpHandler* HttpRouter::Find(const std::map<std::string, HttpHandler>& table,
                                    const HttpRequest& request) const {
  const auto found = table.find(request.path);
  return found == table.end() ? nullptr : &found->second;
}

int64_t PathNumber(const std::string& path, const std::string& prefix) {
  if (path.rfind(prefix, 0) != 0) return 0;
  const std::string digits = path.substr(prefix.size());
  if (digits.empty() || digits.size() > 18 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoll(digits);
}

HttpReply HttpRouter::Route(const HttpRequest& request) const {
  const bool reading = request.method == "GET" || request.method == "HEAD";
  const HttpHandler* get = Find(get_, request);
  const HttpHandler* post = Find(post_, request);
  if (get == nullptr) {
    for (const auto& [prefix, handler] : numbered_) {
      if (PathNumber(request.path, prefix) > 0) get = &handler;
    }
  }
  if (reading && get != nullptr) return (*get)(request);
  if (request.method == "POST" && post != nullptr) return (*post)(request);
  HttpReply reply;
  if (get != nullptr || post != nullptr) {
    reply.status = 405;
    reply.headers.emplace_back("Allow", get != nullptr ? "GET, HEAD" : "POST");
  } else {
    reply.status = 404;
  }
  reply.body = std::string(StatusText(reply.status)) + "\n";
  return reply;
}

}  // namespace velora::server
