#include "server/site_routes.h"

#include <httplib.h>

#include "server/site_pages.h"

namespace velora::server {

bool ServeSite(httplib::Server& http, std::unique_ptr<SqlRunner> runner, std::string& problem) {
  std::optional<std::vector<SiteRoute>> routes = SiteRoutes(std::move(runner), problem);
  if (!routes) return false;
  for (SiteRoute& route : *routes) {
    const std::string pattern = route.numbered ? route.path + R"((\d{1,18}))" : route.path;
    http.Get(pattern, [answer = std::move(route.answer)](const httplib::Request& req,
                                                         httplib::Response& res) {
      SiteRequest request{req.path,
                          [&req](const char* name) {
                            std::vector<std::string> values;
                            for (size_t i = 0; i < req.get_param_value_count(name); ++i) {
                              values.push_back(req.get_param_value(name, i));
                            }
                            return values;
                          },
                          req.get_header_value("Accept-Language")};
      const SiteReply reply = answer(request);
      res.status = reply.status;
      for (const auto& [name, value] : reply.headers) res.set_header(name, value);
      res.set_content(reply.body, reply.contentType);
    });
  }
  return true;
}

}  // namespace velora::server
