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
  // Why the reply is kReplyUnreachable, for the log and the command line; empty otherwise.
  std::string problem;
};

// Posts body plus its zero byte to server + path ("http://host[:port]" and "/..."). An empty
// server means there is no service.
PostOutcome PostForm(const std::string& body, const std::string& server, const std::string& path,
                     const std::string& agent, PostLimits limits = {});

// The answer code in raw reply header lines: the "X-Velora-Result" header when there is one,
// else the Content-Length header's text converted like atoi. Neither: kReplyUnreachable.
int32_t ReplyCodeOfHeaders(const std::string& headers);

// server + path with one "/" between them.
std::string ServiceAddress(const std::string& server, const std::string& path);

}  // namespace velora
