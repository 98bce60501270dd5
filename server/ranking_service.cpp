#include "server/ranking_service.h"

#include <httplib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>

#include "server/form_body.h"
#include "server/result_codes.h"
#include "server/site_routes.h"
#include "server/sqlite_runner.h"

namespace velora::server {

namespace {

using httplib::ContentReader;
using httplib::Request;
using httplib::Response;

constexpr const char* kRegisterPath = "/Velora/09/regist.php";
constexpr const char* kDeletePath = "/Velora/09/delete.php";
// Bodies up to this size are read to the end and refused with a code; larger ones are cut off.
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
void Answer(Response& res, int32_t code) {
  res.status = StatusOf(code);
  res.set_header(kResultHeader, std::to_string(code));
  if (code >= 0) {
    std::string body = std::to_string(code) + "\n";
    body.resize(static_cast<size_t>(code), ' ');
    res.set_content(body, "text/plain");
  } else {
    res.set_content(std::to_string(code) + " " + ResultCodeText(code) + "\n", "text/plain");
    res.set_header("Connection", "close");
  }
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

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

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
  store_ = std::make_unique<EntryStore>();
  if (!store_->Open(options_.databasePath)) {
    problem_ = options_.databasePath + ": " + store_->problem();
    return false;
  }
  registrar_ = std::make_unique<Registrar>(*store_, options_.hashCost, options_.clock);
  limiter_ = std::make_unique<RateLimiter>(options_.rateLimit);
  http_ = std::make_unique<httplib::Server>();
  const size_t threads = static_cast<size_t>(std::max(1, options_.threads));
  http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  const time_t seconds = std::max(1, options_.requestSeconds);
  http_->set_read_timeout(std::min<time_t>(seconds, 5));
  http_->set_write_timeout(std::min<time_t>(seconds, 5));
  http_->set_keep_alive_timeout(std::min<time_t>(seconds, 5));
  http_->set_keep_alive_max_count(20);
  http_->set_payload_max_length(kDrainedBodyBytes);
  Route();
  if (!ServeSite(*http_, OpenSqliteRunner(options_.databasePath, problem_), problem_)) return false;

  port_ = options_.port == 0
              ? http_->bind_to_any_port(options_.host)
              : (http_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
  if (port_ <= 0) {
    problem_ = "cannot listen on " + options_.host + ":" + std::to_string(options_.port);
    http_.reset();
    return false;
  }
  listener_ = std::thread([this] { http_->listen_after_bind(); });
  // stop() does nothing before the loop runs, so Stop must not come earlier.
  while (!http_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  Log(UtcNow() + " listening on " + options_.host + ":" + std::to_string(port_) + ", database " +
      options_.databasePath);
  return true;
}

void RankingService::Stop() {
  if (http_) {
    http_->stop();
    if (listener_.joinable()) listener_.join();
    http_.reset();
    Log(UtcNow() + " stopped");
  }
  registrar_.reset();
  store_.reset();
}

void RankingService::Route() {
  http_->set_pre_routing_handler([this](const Request& req, Response& res) {
    if (limiter_->Admit(req.remote_addr)) return httplib::Server::HandlerResponse::Unhandled;
    res.set_header("Retry-After", "60");
    Answer(res, kTooManyRequests);
    return httplib::Server::HandlerResponse::Handled;
  });

  http_->set_logger([this](const Request& req, const Response& res) {
    std::string line = UtcNow() + " " + req.remote_addr + " " + req.method + " " +
                       Printable(req.path) + " " + std::to_string(res.status);
    if (res.has_header(kResultHeader)) {
      line += " result=" + res.get_header_value(kResultHeader);
    }
    Log(line + " bytes=" + std::to_string(res.body.size()));
  });

  http_->set_exception_handler(
      [](const Request&, Response& res, std::exception_ptr) { Answer(res, kServiceFault); });

  // The body of a post, read here rather than by the library, which caps form bodies at 8 KiB.
  const auto readBody = [this](const ContentReader& reader, const Response& res,
                               std::string& body) -> int32_t {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options_.requestSeconds);
    bool tooLarge = false, late = false;
    const bool complete = reader([&](const char* data, size_t length) {
      if (std::chrono::steady_clock::now() > deadline) {
        late = true;
        return false;
      }
      if (body.size() + length >= kMaxBodyBytes) tooLarge = true;
      if (!tooLarge) body.append(data, length);
      return true;
    });
    if (tooLarge || res.status == 413) return kTooLarge;
    if (!complete || late) return kMalformedBody;
    return 0;
  };

  http_->Post(kRegisterPath,
              [this, readBody](const Request&, Response& res, const ContentReader& reader) {
                std::string body;
                const int32_t refusal = readBody(reader, res, body);
                Answer(res, refusal != 0 ? refusal : registrar_->Register(body));
              });
  http_->Post(kDeletePath,
              [this, readBody](const Request&, Response& res, const ContentReader& reader) {
                std::string body;
                const int32_t refusal = readBody(reader, res, body);
                Answer(res, refusal != 0 ? refusal : registrar_->Delete(body));
              });
}

}  // namespace velora::server
