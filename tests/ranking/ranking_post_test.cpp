#include "ranking/ranking_post.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/local_http_server.h"

namespace velora {
namespace {

using testing::LocalHttpServer;

std::string Reply(const std::string& headers) { return "HTTP/1.1 200 OK\r\n" + headers + "\r\n"; }

TEST(PostForm, SendsTheBodyWithItsZeroByteAsAFormPost) {
  LocalHttpServer server(Reply("X-Velora-Result: 0\r\nContent-Length: 0\r\nConnection: close\r\n"));
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

// The answer of each reply: a number only from the result header, an entry only with 200.
TEST(PostForm, TrustsOnlyTheResultHeaderAndAnEntryOnlyWithStatus200) {
  struct Case {
    const char* reply;
    int32_t code;
    const char* problem;  // words of the reason when there is no answer
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK\r\nX-Velora-Result: 17\r\nContent-Length: 2\r\n\r\nok", 17, ""},
      {"HTTP/1.1 409 Conflict\r\nX-Velora-Result: -1\r\nContent-Length: 0\r\n\r\n", -1, ""},
      {"HTTP/1.1 400 Bad Request\r\nx-velora-result:  -7 \r\nContent-Length: 0\r\n\r\n", -7,
       ""},
      // A failure page whose length once read as an entry number.
      {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4242\r\nConnection: close\r\n\r\n",
       kReplyUnreachable, "\"HTTP/1.1 500 Internal Server Error\" without a result code"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 1234\r\nConnection: close\r\n\r\n", kReplyUnreachable,
       "\"HTTP/1.1 200 OK\" without a result code"},
      {"HTTP/1.1 503 Service Unavailable\r\nX-Velora-Result: 12\r\nConnection: close\r\n\r\n",
       kReplyUnreachable, "\"HTTP/1.1 503 Service Unavailable\" with entry 12"},
      {"HTTP/1.1 200 OK\r\nX-Velora-Result: 12abc\r\nConnection: close\r\n\r\n",
       kReplyUnreachable, "without a result code"},
      {"HTTP/1.1 200 OK\r\nX-Velora-Result: 99999999999\r\nConnection: close\r\n\r\n",
       kReplyUnreachable, "without a result code"},
  };
  for (const Case& c : cases) {
    LocalHttpServer server(c.reply);
    const PostOutcome outcome = PostForm("check=1", server.url(), kRegisterPath, kAgentName);
    EXPECT_EQ(outcome.reply, c.code) << c.reply << outcome.problem;
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_NE(outcome.problem.find(c.problem), std::string::npos) << outcome.problem;
    EXPECT_EQ(outcome.problem.empty(), c.code != kReplyUnreachable) << c.reply;
  }
}

TEST(PostForm, AnswersOnceTheHeadIsInWithoutWaitingForABody) {
  // A length of 40, no body and an open connection: the limit of 60 s would fail the test.
  LocalHttpServer server(Reply("X-Velora-Result: 40\r\nContent-Length: 40\r\n"), true);
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

TEST(ReplyCode, HeaderNamesMatchWithoutRegardToCaseAndTheStatusLineMustBeThere) {
  EXPECT_EQ(ReplyOfHeaders("HTTP/1.1 200 OK\r\nX-VELORA-RESULT: 42\r\n\r\n").reply, 42);
  EXPECT_EQ(ReplyOfHeaders("HTTP/1.1 200 OK\r\nX-Velora-Results: 9\r\n\r\n").reply,
            kReplyUnreachable);
  EXPECT_EQ(ReplyOfHeaders("X-Velora-Result: 9\r\n\r\n").problem,
            "the reply carried no HTTP status line");
}

TEST(ServiceAddress, JoinsServerAndPathWithOneSlash) {
  EXPECT_EQ(ServiceAddress("http://ranking.example.org", "/Velora/09/regist.php"),
            "http://ranking.example.org/Velora/09/regist.php");
  EXPECT_EQ(ServiceAddress("http://h:8080/", "/x"), "http://h:8080/x");
}

}  // namespace
}  // namespace velora
