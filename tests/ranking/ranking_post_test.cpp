#include "ranking/ranking_post.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/local_http_server.h"

namespace velora {
namespace {

using testing::LocalHttpServer;

std::string Reply(const std::string& headers) { return "HTTP/1.1 200 OK\r\n" + headers + "\r\n"; }

TEST(PostForm, SendsTheBodyWithItsZeroByteAsAFormPost) {
  LocalHttpServer server(Reply("Content-Length: 0\r\nConnection: close\r\n"));
  const PostOutcome outcome =
      PostForm("UserName=a%26b&check=1", server.url(), kRegisterPath, kAgentName);
  EXPECT_EQ(outcome.reply, 0);
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string request = server.requests()[0];
  EXPECT_EQ(request.rfind("POST /Velora/09/regist.php HTTP/1.1\r\n", 0), 0u) << request;
  EXPECT_NE(request.find("\r\nUser-Agent: Velora09\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
            std::string::npos);
  EXPECT_NE(request.find("\r\nContent-Length: 23\r\n"), std::string::npos) << request;
  EXPECT_EQ(server.lastBody(), std::string("UserName=a%26b&check=1\0", 23));
}

// The answer code of each reply as the service gives it.
TEST(PostForm, ReadsTheAnswerFromTheContentLengthText) {
  struct Case {
    const char* headers;
    int32_t reply;
  };
  const Case cases[] = {
      {"Content-Length: 1234\r\nConnection: close\r\n", 1234},
      {"Content-Length: -1\r\nConnection: close\r\n", -1},
      {"Content-Length: -5\r\nConnection: close\r\n", -5},
      {"Content-Length: -7\r\nConnection: close\r\n", -7},
      // A truthful length and the code in a header of its own.
      {"X-Velora-Result: 17\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok", 17},
      {"Content-Length: 0\r\nX-Velora-Result: -5\r\nConnection: close\r\n", -5},
      // No readable code at all.
      {"Connection: close\r\n", kReplyUnreachable},
  };
  for (const Case& c : cases) {
    LocalHttpServer server(Reply(c.headers));
    const PostOutcome outcome = PostForm("check=1", server.url(), kRegisterPath, kAgentName);
    EXPECT_EQ(outcome.reply, c.reply) << c.headers << outcome.problem;
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(outcome.problem.empty(), c.reply != kReplyUnreachable) << c.headers;
  }
}

TEST(PostForm, AnswersOnceTheHeadIsInWithoutWaitingForABody) {
  // A length of 40, no body and an open connection: the limit of 60 s would fail the test.
  LocalHttpServer server(Reply("Content-Length: 40\r\n"), true);
  const PostOutcome outcome =
      PostForm("check=1", server.url(), kRegisterPath, kAgentName, PostLimits{5000, 60000});
  EXPECT_EQ(outcome.reply, 40) << outcome.problem;
}

TEST(PostForm, DeadServicesAnswerUnreachableWithAReason) {
  const auto start = std::chrono::steady_clock::now();
  const PostOutcome refused =
      PostForm("check=1", "http://127.0.0.1:" + std::to_string(testing::RefusingPort()),
               kRegisterPath, kAgentName);
  EXPECT_EQ(refused.reply, kReplyUnreachable);
  EXPECT_FALSE(refused.problem.empty());

  const PostOutcome none = PostForm("check=1", "", kRegisterPath, kAgentName);
  EXPECT_EQ(none.reply, kReplyUnreachable);
  EXPECT_NE(none.problem.find("RankingServer"), std::string::npos) << none.problem;

  LocalHttpServer silent("");
  const PostOutcome timedOut =
      PostForm("check=1", silent.url(), kRegisterPath, kAgentName, PostLimits{2000, 300});
  EXPECT_EQ(timedOut.reply, kReplyUnreachable);
  EXPECT_NE(timedOut.problem.find("timed out"), std::string::npos) << timedOut.problem;
  EXPECT_EQ(silent.requests().size(), 1u);
  // Bounded by the limits, not by the silent server.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
}

TEST(ReplyCode, HeaderLinesAreMatchedWithoutRegardToCase) {
  EXPECT_EQ(ReplyCodeOfHeaders("HTTP/1.1 200 OK\r\ncontent-length:  42\r\n\r\n"), 42);
  EXPECT_EQ(ReplyCodeOfHeaders("HTTP/1.1 200 OK\r\nX-Content-Length: 9\r\n\r\n"),
            kReplyUnreachable);
  EXPECT_EQ(ReplyCodeOfHeaders("HTTP/1.1 200 OK\r\nContent-Length: abc\r\n\r\n"), 0);
}

TEST(ServiceAddress, JoinsServerAndPathWithOneSlash) {
  EXPECT_EQ(ServiceAddress("http://ranking.example.org", "/Velora/09/regist.php"),
            "http://ranking.example.org/Velora/09/regist.php");
  EXPECT_EQ(ServiceAddress("http://h:8080/", "/x"), "http://h:8080/x");
}

}  // namespace
}  // namespace velora
