#pragma once
// The HTTP exchange of a registration: the body with its terminating zero byte posted to the
// ranking service, and the service's answer code read from the reply's headers. Widget-free, so
// the command line and the service's own tests call it too.

#include <cstdint>
#include <string>

namespace velora {

// The service could not be reached, or its reply carried no readable code.
constexpr int32_t kReplyUnreachable = -32768;
constexpr int32_t kReplyDuplicate = -1;
constexpr int32_t kReplyAlreadyRegistered = -5;

constexpr const char* kRegisterPath = "/Velora/09/regist.php";
constexpr const char* kAgentName = "Velora09";

struct PostLimits {
  long connectMs = 5000;
  long totalMs = 20000;
};

struct PostOutcome {
  int32_t reply = kReplyUnreachable;
  // Why the reply is kReplyUnreachable (no service, or no answer to trust), for the log and the
  // command line; empty otherwise.
  std::string problem;
};

// Posts body plus its zero byte to server + path ("http://host[:port]" and "/..."). An empty
// server means there is no service.
PostOutcome PostForm(const std::string& body, const std::string& server, const std::string& path,
                     const std::string& agent, PostLimits limits = {});

// The answer in the final reply's raw head (status line and header lines): the code of the
// "X-Velora-Result" header, an entry number only with status 200, a refusal (a negative code)
// with any status. Anything else, a Content-Length alone included, is kReplyUnreachable with
// the status line in problem.
PostOutcome ReplyOfHeaders(const std::string& headers);

// server + path with one "/" between them.
std::string ServiceAddress(const std::string& server, const std::string& path);

}  // namespace velora
