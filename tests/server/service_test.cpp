#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

#include "server/result_codes.h"
#include "tests/server/service_fixture.h"

namespace velora::testing {
namespace {

using namespace velora::server;

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string Without(std::string headers, const std::string& name) {
  const size_t at = headers.find(name + ":");
  if (at != std::string::npos) headers.erase(at, headers.find('\n', at) + 1 - at);
  return headers;
}

TEST_F(ServiceTest, ARegistrationGetsAnEntryNumberAndItsPagesListIt) {
  const int32_t first = Post(Sample("Taro").Body());
  EXPECT_EQ(first, 1);  // numbers start at 1 in a fresh database
  const int32_t second = Post(Sample("Jiro", "Tower", 7000).Body());
  EXPECT_EQ(second, 2);

  const Fetched japanese = Get("/Velora/09/ranking.php?ID=1");
  EXPECT_EQ(japanese.status, 200);
  EXPECT_NE(japanese.body.find("<html lang=\"ja\">"), std::string::npos);
  EXPECT_NE(japanese.body.find("総合ランキング"), std::string::npos);
  // Both entries in the overall ranking, Jiro's better mark first and Taro's row marked.
  const size_t jiro = japanese.body.find(
      "<td class=\"place\">1</td><td class=\"who\"><a href=\"/Velora/09/ranking.php?ID=2\">Jiro</a>");
  const size_t taro = japanese.body.find(
      "<tr class=\"mine\"><td class=\"place\">2</td><td class=\"who\"><a "
      "href=\"/Velora/09/ranking.php?ID=1\">Taro</a>");
  ASSERT_NE(jiro, std::string::npos) << japanese.body;
  ASSERT_NE(taro, std::string::npos) << japanese.body;
  EXPECT_LT(jiro, taro);
  EXPECT_EQ(Count(japanese.body, "class=\"mine\""), 1u);
  EXPECT_NE(japanese.body.find("<link rel=\"stylesheet\" href=\"/Velora/style.css\">"),
            std::string::npos);

  const Fetched english = Get("/Velora/09en/ranking.php?ID=2");
  EXPECT_EQ(english.status, 200);
  EXPECT_NE(english.body.find("Overall ranking"), std::string::npos);
  EXPECT_NE(english.body.find("<tr><th>ALU</th><td>701</td><td><a "
                              "href=\"/Velora/09en/?test=ALU\">1</a></td><td>2</td>"),
            std::string::npos)
      << english.body;
  EXPECT_EQ(Get("/Velora/style.css").status, 200);
  EXPECT_EQ(Get("/Velora/09en/ranking.php?ID=3").status, 404);
  EXPECT_EQ(Get("/Velora/09en/ranking.php?ID=x").status, 404);
}

TEST_F(ServiceTest, AnEntryNumberIsAlsoTheReplysContentLength) {
  Post(Sample("Taro").Body());
  Post(Sample("Jiro").Body());
  const std::string body = Sample("Saburo").Body();
  // The client's post, read from the raw head of the reply.
  CURL* curl = curl_easy_init();
  std::string headers, content;
  const std::string address = url() + kRegisterPath;
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size() + 1));
  const auto append = +[](char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
  };
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &headers);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &content);
  ASSERT_EQ(curl_easy_perform(curl), CURLE_OK);
  curl_easy_cleanup(curl);
  EXPECT_NE(headers.find("X-Velora-Result: 3\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("Content-Length: 3\r\n"), std::string::npos) << headers;
  EXPECT_EQ(content, "3\n ");
  // Our client takes the number from the result header of a 200 reply, and from nothing less.
  EXPECT_EQ(ReplyOfHeaders(headers).reply, 3);
  EXPECT_EQ(ReplyOfHeaders(Without(headers, "X-Velora-Result")).reply, kReplyUnreachable);
}

TEST_F(ServiceTest, TheSameBodyWithinADayIsADuplicate) {
  const std::string body = Sample("Taro").Body();
  EXPECT_EQ(Post(body), 1);
  now_ += kDuplicateWindowSeconds - 1;
  EXPECT_EQ(Post(body), kDuplicatePost);
  // The same body with another password is another owner's post.
  SampleMachine other = Sample("Taro");
  other.form.password = "another";
  EXPECT_EQ(Post(other.Body()), 2);
  // A day later the body is no longer a duplicate, but its machine is still registered.
  now_ += 2;
  EXPECT_EQ(Post(body), kMachineRegistered);
  EXPECT_NE(Get("/api/entries").body.find("\"total\":2"), std::string::npos);
}

TEST_F(ServiceTest, TheSameMachineNeedsACommentThatSaysWhatChanged) {
  SampleMachine machine = Sample("Taro", "Box", 5000);
  machine.form.comment = "stock clocks";
  EXPECT_EQ(Post(machine.Body()), 1);
  machine.result.score[0][0] = 5600;
  EXPECT_EQ(Post(machine.Body()), kMachineRegistered);  // the old comment
  machine.form.comment = "  stock clocks\r\n";
  EXPECT_EQ(Post(machine.Body()), kMachineRegistered);  // the old comment, blanks aside
  machine.form.comment = "";
  EXPECT_EQ(Post(machine.Body()), kMachineRegistered);
  machine.form.comment = "new cooler, 3 GHz";
  EXPECT_EQ(Post(machine.Body()), 2);
  // Another machine of the same user is a first registration.
  EXPECT_EQ(Post(Sample("Taro", "Laptop").Body()), 3);
}

TEST_F(ServiceTest, RefusedBodiesStoreNothing) {
  SampleMachine script = Sample("<script>alert(1)</script>");
  SampleMachine oversized = Sample("Taro");
  oversized.form.web = std::string(70 * 1024, 'w');
  SampleMachine huge = Sample("Taro");
  huge.form.web = std::string(600 * 1024, 'w');
  const struct {
    std::string body;
    int32_t code;
  } cases[] = {
      {"hello", kMalformedBody},      {"UserName=Taro&check=1", kWrongKeys},
      {script.Body(), kMarkupInText}, {oversized.Body(), kTooLarge},
      {huge.Body(), kTooLarge},  // cut off unread
  };
  for (const auto& c : cases) EXPECT_EQ(Post(c.body), c.code) << c.body.substr(0, 40);
  EXPECT_NE(Get("/api/entries").body.find("\"total\":0"), std::string::npos);
  EXPECT_EQ(Get("/api/entries/1").status, 404);
  // The refusals left the service as it was.
  EXPECT_EQ(Post(Sample("Taro").Body()), 1);
}

TEST_F(ServiceTest, ARestartKeepsEveryEntry) {
  for (const char* user : {"A", "B", "C"}) EXPECT_GT(Post(Sample(user).Body()), 0);
  RestartService();
  const Fetched list = Get("/api/entries");
  EXPECT_NE(list.body.find("\"total\":3"), std::string::npos) << list.body;
  EXPECT_EQ(Get("/Velora/09/ranking.php?ID=2").status, 200);
  EXPECT_EQ(Post(Sample("D").Body()), 4);
  // The rules still see the entries of before.
  EXPECT_EQ(Post(Sample("A").Body()), kDuplicatePost);
}

TEST_F(ServiceTest, TwoHundredRegistrationsFromEightThreadsAllLand) {
  constexpr int kThreads = 8, kEach = 25;
  std::vector<std::vector<int32_t>> replies(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        const std::string user = "user " + std::to_string(t) + "-" + std::to_string(i);
        replies[static_cast<size_t>(t)].push_back(
            PostForm(Sample(user).Body(), url(), kRegisterPath, kAgentName).reply);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::set<int32_t> numbers;
  for (const auto& list : replies) numbers.insert(list.begin(), list.end());
  ASSERT_EQ(numbers.size(), 200u);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 200);
  EXPECT_NE(Get("/api/entries?per_page=1").body.find("\"total\":200"), std::string::npos);
}

TEST_F(ServiceTest, TheOwnerDeletesAnEntryWithItsPassword) {
  EXPECT_EQ(Post(Sample("Taro").Body()), 1);
  const char* path = "/Velora/09/delete.php";
  EXPECT_EQ(Post("ID=1&Password=wrong", path), kWrongPassword);
  EXPECT_EQ(Post("ID=2&Password=secret pw", path), kNoSuchEntry);
  EXPECT_EQ(Post("ID=x&Password=secret pw", path), kBadNumber);
  EXPECT_EQ(Post("Password=secret pw&ID=1", path), kWrongKeys);
  EXPECT_EQ(Get("/Velora/09/ranking.php?ID=1").status, 200);
  EXPECT_EQ(Post("ID=1&Password=secret pw", path), 1);
  EXPECT_EQ(Get("/Velora/09/ranking.php?ID=1").status, 404);
  EXPECT_EQ(Post("ID=1&Password=secret pw", path), kNoSuchEntry);
}

TEST_F(ServiceTest, PagesEscapeWhatASubmissionCarries) {
  SampleMachine machine = Sample("R&D \"x\" <3 'y'");
  machine.form.comment = "a > b & c";
  machine.form.web = "javascript:alert(1)";
  ASSERT_EQ(Post(machine.Body()), 1);
  const Fetched page = Get("/Velora/09en/ranking.php?ID=1");
  EXPECT_NE(page.body.find(">R&amp;D &quot;x&quot; &lt;3 &#39;y&#39;</a>"), std::string::npos)
      << page.body;
  EXPECT_NE(page.body.find("<td class=\"comment\">a &gt; b &amp; c</td>"), std::string::npos);
  EXPECT_EQ(page.body.find("R&D"), std::string::npos);
  // Not a web address, so not a link.
  EXPECT_EQ(page.body.find("href=\"javascript"), std::string::npos);
  EXPECT_NE(page.headers.find("Content-Security-Policy: default-src 'none'"), std::string::npos);
}

TEST_F(ServiceTest, TheJsonViewPagesAndFiltersByTest) {
  SampleMachine a = Sample("A", "Box", 3000), b = Sample("B", "Box", 9000),
                c = Sample("C", "Box", 6000);
  c.result.score[0][1] = 0;  // no ALU score
  for (const SampleMachine* m : {&a, &b, &c}) ASSERT_GT(Post(m->Body()), 0);
  EXPECT_EQ(Get("/api/entries?per_page=2&page=2").body,
            "{\"test\":\"overall\",\"sort\":\"score\",\"q\":\"\",\"vendor\":\"\",\"country\":\"\","
            "\"page\":2,\"per_page\":2,\"total\":3,\"entries\":[{\"place\":3,\"id\":1,"
            "\"created\":\"2027-01-15T08:00:00Z\",\"user_name\":\"A\",\"machine\":\"Box\","
            "\"cpu_name\":\"Core 2 Duo E6600\",\"cpu_vendor\":\"Intel\",\"country\":\"JP\","
            "\"score\":3000}]}");
  const Fetched alu = Get("/api/entries?test=ALU");
  EXPECT_NE(alu.body.find("\"total\":2"), std::string::npos) << alu.body;
  EXPECT_LT(alu.body.find("\"user_name\":\"B\""), alu.body.find("\"user_name\":\"A\""));
  EXPECT_EQ(alu.body.find("\"user_name\":\"C\""), std::string::npos);
  EXPECT_EQ(Get("/api/entries?test=XYZ").status, 400);
  EXPECT_EQ(Get("/api/entries?page=0").status, 400);
  EXPECT_EQ(Get("/api/entries?per_page=1000").status, 400);

  const Fetched entry = Get("/api/entries/2");
  EXPECT_EQ(entry.status, 200);
  EXPECT_NE(entry.body.find("\"mark\":9000,\"tests\":{\"ALU\":901,"), std::string::npos)
      << entry.body;
  EXPECT_NE(entry.body.find("\"NET8V\":10007"), std::string::npos);
  EXPECT_NE(entry.body.find("\"ALU\":[{\"name\":\"Fibonacci\",\"score\":100,\"value\":1000}"),
            std::string::npos);
  EXPECT_EQ(entry.body.find("Password"), std::string::npos);
  EXPECT_EQ(entry.body.find("secret"), std::string::npos);
  EXPECT_EQ(Get("/api/entries/4").status, 404);
}

TEST_F(ServiceTest, EveryRequestLeavesALogLine) {
  Post(Sample("Taro").Body());
  Get("/Velora/09/ranking.php?ID=1");
  Get("/api/entries/9");
  Post("hello");
  // A line is written once its reply has gone out, which may be after the client has read it.
  std::vector<std::string> lines;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {
    lines = log();
    std::erase_if(lines, [](const std::string& line) {
      return line.find(" 127.0.0.1 ") == std::string::npos;
    });
  } while (lines.size() < 4 && std::chrono::steady_clock::now() < deadline);
  ASSERT_EQ(lines.size(), 4u);
  // Each worker logs after its reply, so the client's next request may be logged first: the
  // lines are matched in any order.
  for (const char* expected :
       {" POST /Velora/09/regist.php 200 result=1 ", " GET /Velora/09/ranking.php 200 ",
        " GET /api/entries/9 404 ", " POST /Velora/09/regist.php 400 result=-2 "}) {
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& line) {
                              return line.find(expected) != std::string::npos;
                            }),
              1)
        << expected;
  }
}

TEST_F(ServiceTest, AnAddressBeyondItsRateIsTurnedAway) {
  service_->Stop();
  StartService({1, 3});  // three at once, then one a minute
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get("/api/entries").status, 200) << i;
  const Fetched refused = Get("/api/entries");
  EXPECT_EQ(refused.status, 429);
  EXPECT_NE(refused.headers.find("X-Velora-Result: -10"), std::string::npos);
  EXPECT_EQ(Post(Sample("Taro").Body()), kTooManyRequests);
}

// A client that promises a body and stops sending is cut off with -2 instead of holding a
// worker for good.
TEST_F(ServiceTest, ARequestThatStallsIsCutOff) {
  service_->Stop();
  requestSeconds_ = 1;
  StartService();
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(service_->port()));
  ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string head =
      "POST /Velora/09/regist.php HTTP/1.1\r\nHost: x\r\nContent-Length: 4000\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\n\r\nUserName=Ta";
  ASSERT_EQ(send(s, head.data(), head.size(), MSG_NOSIGNAL), static_cast<ssize_t>(head.size()));
  std::string reply;
  char buffer[4096];
  pollfd p{s, POLLIN, 0};
  while (poll(&p, 1, 30000) > 0) {
    const ssize_t n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    reply.append(buffer, static_cast<size_t>(n));
  }
  close(s);
  EXPECT_NE(reply.find("X-Velora-Result: -2\r\n"), std::string::npos) << reply;
  EXPECT_NE(Get("/api/entries").body.find("\"total\":0"), std::string::npos);
}

}  // namespace
}  // namespace velora::testing
