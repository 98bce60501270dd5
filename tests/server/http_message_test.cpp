// The request head reader: what it takes, what it refuses, and the query's parameters.

#include "server/http_message.h"

#include <gtest/gtest.h>

namespace velora::server {
namespace {

TEST(HttpHead, ReadsOrRefusesEachHead) {
  HeadLimits limits;
  limits.maxBytes = 200;
  limits.maxFields = 3;
  const struct {
    std::string head;
    HeadStatus status;
    bool keepAlive;
    int64_t length;
  } cases[] = {
      {"GET / HTTP/1.1\r\n\r\n", HeadStatus::kComplete, true, 0},
      {"GET / HTTP/1.0\r\n\r\n", HeadStatus::kComplete, false, 0},
      {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", HeadStatus::kComplete, true, 0},
      {"GET / HTTP/1.1\r\nConnection: close\r\n\r\n", HeadStatus::kComplete, false, 0},
      {"\r\nPOST /p HTTP/1.1\nContent-Length: 5\n\nhello", HeadStatus::kComplete, true, 5},
      {"GET / HTTP/1.1\r\nA: 1\r\nB: 2\r\nC: 3\r\n\r\n", HeadStatus::kComplete, true, 0},
      {"GET / HTTP/1.1\r\nA: 1\r\nB: 2\r\nC: 3\r\n", HeadStatus::kIncomplete, true, 0},
      {"GET / HTTP/1.1\r\nA: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\n", HeadStatus::kTooLarge, true, 0},
      {"GET / HTTP/1.1\r\nA: " + std::string(300, 'a'), HeadStatus::kTooLarge, true, 0},
      {"GET /" + std::string(300, 'a'), HeadStatus::kTooLarge, true, 0},
      {"GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET / HTTP/1.1\r\n folded: no\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET / HTTP/2.0\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"GET x HTTP/1.1\r\n\r\n", HeadStatus::kMalformed, true, 0},
      {"G(T / HTTP/1.1\r\n\r\n", HeadStatus::kMalformed, true, 0},
  };
  for (const auto& c : cases) {
    HttpRequest request;
    const HeadResult result = ParseHead(c.head, limits, request);
    EXPECT_EQ(result.status, c.status) << c.head.substr(0, 60);
    if (result.status != HeadStatus::kComplete) continue;
    EXPECT_EQ(request.keepAlive, c.keepAlive) << c.head;
    EXPECT_EQ(request.contentLength, c.length) << c.head;
    EXPECT_EQ(c.head.substr(result.headBytes), c.length == 5 ? "hello" : "") << c.head;
  }
}

TEST(HttpHead, DecodesQueryParameters) {
  HttpRequest request;
  ASSERT_EQ(ParseHead("GET /c?id=3&x=a+b%26c&id=%34&ID=9&flag HTTP/1.1\r\n\r\n", {}, request).status,
            HeadStatus::kComplete);
  EXPECT_EQ(request.path, "/c");
  EXPECT_EQ(request.Param("x"), "a b&c");
  EXPECT_EQ(request.Param("id"), "3");
  EXPECT_EQ(request.Params("id"), (std::vector<std::string>{"3", "4"}));
  EXPECT_EQ(request.Param("ID"), "9");
  EXPECT_EQ(request.Params("flag"), std::vector<std::string>{""});
  EXPECT_TRUE(request.Params("none").empty());
}

}  // namespace
}  // namespace velora::server
