#include "server/ranking_service.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>

#include "platform/utc_time.h"
#include "server/form_body.h"
#include "server/result_codes.h"
#include "server/session_runner.h"
#include "server/site_pages.h"

namespace velora::server {

namespace {

constexpr const char* kRegisterPath = "/Velora/09/regist.php";
constexpr const char* kDeletePath = "/Velora/09/delete.php";
// Bodies up to this size are read to the end and refused with a code; larger ones are refused
// from their Content-Length alone.
constexpr size_t kDrainedBodyBytes = 4 * kMaxBodyBytes;

int StatusOf(int32_t code) {
  if (code >= 0) return 200;
  switch (code) {
    case kDuplicatePost:
    case kMachineRegistered: return 409;
    case kTooLarge: return 413;
    case kTooManyRequests: return 429;
    case kServiceFault: return 500;
    case kNoSuchEntry: return 404;
    case kWrongPassword: return 403;
    default: return 400;
  }
}

// The code in its own header; an entry number also as the body's length, for a client that
// reads nothing but Content-Length.
HttpReply Answer(int32_t code) {
  HttpReply reply;
  reply.status = StatusOf(code);
  reply.headers.emplace_back(kResultHeader, std::to_string(code));
  if (code >= 0) {
    reply.body = std::to_string(code) + "\n";
    reply.body.resize(static_cast<size_t>(code), ' ');
  } else {
    reply.body = std::to_string(code) + " " + ResultCodeText(code) + "\n";
    reply.close = true;
  }
  return reply;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

HttpReply Status(int status) {
  HttpReply reply;
  reply.status = status;
  return reply;
}

// The database as the log shows it: a password in a PostgreSQL address is left out.
std::string Shown(const std::string& database) {
  const size_t scheme = database.find("://");
  const size_t at = database.find('@');
  if (!IsPostgresAddress(database) || at == std::string::npos) return database;
  const size_t colon = database.find(':', scheme + 3);
  if (colon == std::string::npos || colon > at) return database;
  return database.substr(0, colon + 1) + "***" + database.substr(at);
}

bool IsPostPath(const std::string& path) { return path == kRegisterPath || path == kDeletePath; }

}  // namespace

RankingService::RankingService() = default;

RankingService::~RankingService() { Stop(); }

void RankingService::Log(const std::string& line) const {
  if (options_.log) {
    options_.log(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

bool RankingService::Start(ServiceOptions options) {
  options_ = std::move(options);
  // A client that hangs up before the reply ends must not end the service.
  std::signal(SIGPIPE, SIG_IGN);
  if (!StartPasswordHashing()) {
    problem_ = "libsodium could not start";
    return false;
  }
  FrontOptions front;
  front.workers = std::max(1, options_.threads);
  front.queueLength = std::max<size_t>(1, options_.queueLength);
  front.requestSeconds = std::max(1, options_.requestSeconds);
  front.keepAliveSeconds = std::min(front.requestSeconds, 5);
  front.maxBodyBytes = kDrainedBodyBytes;
  // Connections past the descriptors the process may open wait in the listen queue instead of
  // failing: a few descriptors stay for the database and the log.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
    front.maxConnections =
        std::clamp<size_t>(files.rlim_cur > 128 ? files.rlim_cur - 128 : 16, 16, 16384);
  }
  front_ = std::make_unique<HttpFront>(front);
  // The address first: a second service on a port in use must not touch the database.
  std::string problem;
  if (!front_->Listen({options_.host, options_.port}, problem)) {
    problem_ = "cannot listen on " + ShowAddress(options_.host, options_.port) + ": " + problem;
    front_.reset();
    return false;
  }
  port_ = front_->port();
  store_ = std::make_unique<EntryStore>();
  if (!store_->Open(options_.databasePath)) {
    problem_ = Shown(options_.databasePath) + ": " + store_->problem();
    front_.reset();
    return false;
  }
  registrar_ = std::make_unique<Registrar>(*store_, options_.hashCost, options_.clock);
  registrar_->SetLog([this](const std::string& line) { Log(UtcNow() + " " + line); });
  limiter_ = std::make_unique<RateLimiter>(options_.rateLimit);
  if (!Route()) {
    problem_ = Shown(options_.databasePath) + ": " + problem_;
    front_.reset();
    registrar_.reset();
    store_.reset();
    return false;
  }
  front_->Start([this](const HttpRequest& request) { return Handle(request); },
                [this](Refusal why, const HttpRequest& request) { return Refused(why, request); });
  Log(UtcNow() + " listening on " + ShowAddress(options_.host, port_) + ", database " +
      Shown(options_.databasePath));
  return true;
}

void RankingService::Stop() {
  if (front_) {
    front_->Stop();
    front_.reset();
    Log(UtcNow() + " stopped");
  }
  registrar_.reset();
  store_.reset();
}

std::string RankingService::ClientOf(const HttpRequest& request) const {
  if (options_.trustedProxy.empty() || request.remoteAddress != options_.trustedProxy)
    return request.remoteAddress;
  // The proxy appends the address it saw last; what comes before it the client could forge.
  const std::string forwarded = request.Header("X-Forwarded-For");
  const size_t comma = forwarded.rfind(',');
  std::string client = forwarded.substr(comma == std::string::npos ? 0 : comma + 1);
  client.erase(0, client.find_first_not_of(" \t"));
  client.erase(client.find_last_not_of(" \t") + 1);
  return client.empty() ? request.remoteAddress : client;
}

void RankingService::LogRequest(const HttpRequest& request, const HttpReply& reply) const {
  std::string line = UtcNow() + " " + ClientOf(request) + " " + Printable(request.method) + " " +
                     Printable(request.path) + " " + std::to_string(reply.status);
  const std::string code = reply.Header(kResultHeader);
  if (!code.empty()) line += " result=" + code;
  Log(line + " bytes=" + std::to_string(reply.body.size()));
}

HttpReply RankingService::Handle(const HttpRequest& request) {
  HttpReply reply;
  if (!limiter_->Admit(ClientOf(request))) {
    reply = Answer(kTooManyRequests);
    reply.headers.emplace_back("Retry-After", "60");
  } else {
    reply = router_.Route(request);
  }
  LogRequest(request, reply);
  return reply;
}

HttpReply RankingService::Refused(Refusal why, const HttpRequest& request) {
  HttpReply reply;
  if (why == Refusal::kAbandoned) {
    Log(UtcNow() + " " + ClientOf(request) + " " + Printable(request.method) + " " +
        Printable(request.path) + " dropped: the client left before its turn");
    return reply;
  }
  const bool post = IsPostPath(request.path);
  switch (why) {
    case Refusal::kBodyTooLarge: reply = post ? Answer(kTooLarge) : Status(413); break;
    case Refusal::kLate: reply = post ? Answer(kMalformedBody) : Status(408); break;
    case Refusal::kHeadTooLarge: reply.status = 431; break;
    case Refusal::kBusy:
      // Busy is not this address's fault, but it asks the same of the client: come back later.
      reply = post ? Answer(kTooManyRequests) : HttpReply();
      reply.status = 503;
      reply.headers.emplace_back("Retry-After", "5");
      break;
    default: reply = post ? Answer(kMalformedBody) : Status(400); break;
  }
  if (reply.body.empty()) reply.body = std::string(StatusText(reply.status)) + "\n";
  reply.close = true;
  LogRequest(request, reply);
  return reply;
}

HttpReply RankingService::Post(const HttpRequest& request,
                               const std::function<int32_t(std::string_view)>& rule) {
  // The client posts the form as it is; a multipart or other encoded body is not the form.
  const std::string type = request.Header("Content-Type");
  if (type.rfind("multipart/", 0) == 0) return Answer(kMalformedBody);
  if (request.body.size() >= kMaxBodyBytes) return Answer(kTooLarge);
  return Answer(rule(request.body));
}

HttpHandler RankingService::Cached(HttpHandler handler) {
  return [this, handler = std::move(handler)](const HttpRequest& request) {
    // The generation is read before the page, so a write in between only makes the kept reply
    // newer than its generation, never older.
    const int64_t generation = store_->Generation();
    const std::string key = request.target + "\n" + request.Header("Accept-Language");
    if (generation >= 0) {
      if (std::optional<HttpReply> kept = cache_.Find(key, generation)) return *kept;
    }
    HttpReply reply = handler(request);
    if (generation >= 0 && reply.status == 200) cache_.Keep(key, generation, reply);
    return reply;
  };
}

bool RankingService::Route() {
  router_.Post(kRegisterPath, [this](const HttpRequest& request) {
    return Post(request, [this](std::string_view body) { return registrar_->Register(body); });
  });
  router_.Post(kDeletePath, [this](const HttpRequest& request) {
    return Post(request, [this](std::string_view body) { return registrar_->Delete(body); });
  });

  std::optional<std::vector<SiteRoute>> site =
      SiteRoutes(std::make_unique<SessionRunner>(store_->database()), problem_);
  if (!site) return false;
  for (SiteRoute& route : *site) {
    HttpHandler handler = Cached([answer = std::move(route.answer)](const HttpRequest& request) {
      const SiteRequest asked{request.path,
                              [&request](const char* name) { return request.Params(name); },
                              request.Header("Accept-Language")};
      SiteReply answered = answer(asked);
      HttpReply reply;
      reply.status = answered.status;
      reply.contentType = std::move(answered.contentType);
      reply.body = std::move(answered.body);
      reply.headers = std::move(answered.headers);
      return reply;
    });
    if (route.numbered) {
      router_.GetNumbered(route.path, std::move(handler));
    } else {
      router_.Get(route.path, std::move(handler));
    }
  }
  return true;
}

}  // namespace velora::server
