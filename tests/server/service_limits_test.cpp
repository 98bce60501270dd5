// The service against hostile and slow peers: bounded heads and bodies, Range, multipart, slow
// clients, the address it listens on.

#include <gtest/gtest.h>

#include <thread>

#include "server/listen_address.h"
#include "server/result_codes.h"
#include "tests/server/raw_http.h"
#include "tests/server/service_fixture.h"

namespace velora::testing {
namespace {

using namespace velora::server;

std::string Repeated(const std::string& part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += part;
  return out;
}

std::string BodyOf(const std::string& reply) {
  const size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

TEST_F(ServiceTest, HostileHeadsAndBodiesAreRefusedAtTheirLimits) {
  const std::string plainSheet = Get("/Velora/style.css").body;
  ASSERT_FALSE(plainSheet.empty());
  const std::string form = "Content-Type: application/x-www-form-urlencoded\r\n";
  const std::string multipart =
      "--b\r\nContent-Disposition: form-data; name=\"UserName\"\r\n\r\nTaro\r\n--b--\r\n";
  const struct {
    const char* what;
    std::string request;
    const char* status;
    const char* result;  // the X-Velora-Result of a post, or nothing
  } cases[] = {
      {"100 header fields", "GET /api/entries HTTP/1.1\r\n" + Repeated("X-A: b\r\n", 100) + "\r\n",
       " 431 ", nullptr},
      {"a 40 KiB field", "GET /api/entries HTTP/1.1\r\nX-A: " + std::string(40000, 'a') + "\r\n\r\n",
       " 431 ", nullptr},
      {"100 GB promised to a page", "GET /api/entries HTTP/1.1\r\nContent-Length: 100000000000\r\n\r\n",
       " 413 ", nullptr},
      {"100 GB promised to a post",
       "POST /Velora/09/regist.php HTTP/1.1\r\n" + form + "Content-Length: 100000000000\r\n\r\n",
       " 413 ", "-8"},
      {"a chunked post",
       "POST /Velora/09/regist.php HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nabcd\r\n0\r\n\r\n",
       " 400 ", "-2"},
      {"two lengths that differ",
       "POST /Velora/09/regist.php HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab",
       " 400 ", "-2"},
      {"no request line", "\x01\x02 nonsense\r\n\r\n", " 400 ", nullptr},
      {"a multipart post",
       "POST /Velora/09/regist.php HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=b\r\n"
       "Content-Length: " + std::to_string(multipart.size()) + "\r\nConnection: close\r\n\r\n" + multipart,
       " 400 ", "-2"},
  };
  for (const auto& c : cases) {
    const std::string reply = Exchange(service_->port(), c.request);
    EXPECT_EQ(reply.find("HTTP/1.1"), 0u) << c.what << ": " << reply.substr(0, 200);
    EXPECT_NE(reply.find(c.status), std::string::npos) << c.what << ": " << reply.substr(0, 200);
    if (c.result != nullptr) {
      EXPECT_NE(reply.find(std::string("X-Velora-Result: ") + c.result + "\r\n"), std::string::npos)
          << c.what << ": " << reply.substr(0, 200);
    }
  }
  // Two thousand ranges of a file are not two thousand copies of it: the whole file, once.
  std::string ranges = "bytes=0-";
  for (int i = 1; i < 2000; ++i) ranges += ",0-";
  const std::string ranged = Exchange(
      service_->port(),
      "GET /Velora/style.css HTTP/1.1\r\nRange: " + ranges + "\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(ranged.find("HTTP/1.1 200 "), 0u);
  EXPECT_EQ(BodyOf(ranged), plainSheet);
  // None of it was stored, and the service still serves.
  EXPECT_NE(Get("/api/entries").body.find("\"total\":0"), std::string::npos);
  EXPECT_EQ(Post(Sample("Taro").Body()), 1);
}

// 64 clients sending a byte a second hold no worker: ordinary requests meanwhile are answered.
TEST_F(ServiceTest, SlowClientsDoNotShutOthersOut) {
  constexpr int kSlow = 64, kOrdinary = 40;
  std::vector<int> slow;
  for (int i = 0; i < kSlow; ++i) slow.push_back(ConnectLoopback(service_->port()));
  const std::string head = "GET /api/entries HTTP/1.1\r\nHost: x\r\n\r\n";
  std::atomic<bool> done{false};
  std::thread dribble([&] {
    for (size_t at = 0; at < head.size() && !done; ++at) {
      for (const int s : slow) send(s, &head[at], 1, MSG_NOSIGNAL);
      for (int tenth = 0; tenth < 10 && !done; ++tenth)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // every slow client has begun
  int answered = 0;
  for (int i = 0; i < kOrdinary; ++i) {
    // A generous bound, so a loaded machine does not fail it; before, these waited for good.
    if (FetchWithin(url() + "/api/entries", 5000).status == 200) ++answered;
  }
  done = true;
  dribble.join();
  for (const int s : slow) close(s);
  EXPECT_EQ(answered, kOrdinary);
}

TEST_F(ServiceTest, ASecondServiceOnAPortInUseIsRefused) {
  RankingService second;
  ServiceOptions options;
  options.port = service_->port();
  options.databasePath = folder_.file("other.sqlite");
  options.log = [](const std::string&) {};
  EXPECT_FALSE(second.Start(options));
  EXPECT_NE(second.problem().find("in use"), std::string::npos) << second.problem();
  EXPECT_FALSE(std::filesystem::exists(folder_.file("other.sqlite")));
}

TEST_F(ServiceTest, ServesOnIpv6Loopback) {
  RankingService v6;
  ServiceOptions options;
  options.host = "::1";
  options.port = 0;
  options.databasePath = folder_.file("v6.sqlite");
  options.hashCost = HashCost::kMinimum;
  options.log = [](const std::string&) {};
  ASSERT_TRUE(v6.Start(options)) << v6.problem();
  const std::string reply =
      Exchange(v6.port(), "GET /api/entries HTTP/1.1\r\nConnection: close\r\n\r\n", true);
  EXPECT_EQ(reply.find("HTTP/1.1 200 "), 0u) << reply;
}

// Behind a reverse proxy every request comes from the proxy; the rate limit counts the client it
// names, and only a trusted proxy may name one.
TEST_F(ServiceTest, ATrustedProxyNamesTheClientForTheRateLimit) {
  const auto statuses = [this](const std::vector<std::string>& clients) {
    std::string seen;
    for (const std::string& client : clients) {
      const std::string reply = Exchange(
          service_->port(), "GET /api/entries HTTP/1.1\r\nX-Forwarded-For: " + client +
                                "\r\nConnection: close\r\n\r\n");
      seen += reply.substr(9, 3) + " ";
    }
    return seen;
  };
  // Two at once, then one a minute, per address.
  const std::vector<std::string> clients = {"10.0.0.1", "10.0.0.1", "10.0.0.1",
                                            "1.2.3.4, 10.0.0.2", "10.0.0.2"};
  service_->Stop();
  trustedProxy_ = "127.0.0.1";
  StartService({1, 2});
  // The last address of the list is the one the proxy saw; what precedes it the client wrote.
  EXPECT_EQ(statuses(clients), "200 200 429 200 200 ");
  service_->Stop();
  trustedProxy_ = "";
  StartService({1, 2});
  // Without a trusted proxy the header is the client's own word: all of it is 127.0.0.1.
  EXPECT_EQ(statuses(clients), "200 200 429 429 429 ");
}

TEST(ListenAddress, ReadsHostAndPortWithIpv6InBrackets) {
  const struct {
    const char* text;
    const char* host;  // nullptr: refused
    int port;
  } cases[] = {
      {"127.0.0.1:8009", "127.0.0.1", 8009}, {"[::1]:8010", "::1", 8010},
      {"0.0.0.0:0", "0.0.0.0", 0},           {"localhost:80", "localhost", 80},
      {"::1:8010", nullptr, 0},              {"[::1]8010", nullptr, 0},
      {"127.0.0.1", nullptr, 0},             {"127.0.0.1:65536", nullptr, 0},
      {"127.0.0.1:-1", nullptr, 0},          {":8009", nullptr, 0},
      {"[]:80", nullptr, 0},
  };
  for (const auto& c : cases) {
    const auto address = ParseListenAddress(c.text);
    ASSERT_EQ(address.has_value(), c.host != nullptr) << c.text;
    if (!address) continue;
    EXPECT_EQ(address->host, c.host) << c.text;
    EXPECT_EQ(address->port, c.port) << c.text;
  }
}

}  // namespace
}  // namespace velora::testing
