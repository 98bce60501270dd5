// The site as a visitor meets it, over HTTP, with entries registered through the form.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <regex>
#include <set>
#include <thread>

#include "tests/server/service_fixture.h"

namespace velora::testing {
namespace {

const char* const kCpus[] = {"Core 2 Duo E6600", "Athlon 64 X2 4800+", "Pentium D 940",
                             "Phenom II X4 955"};

// Entry i: mark 1000 + 10 i, so entry 200 leads; ALU (37 i) mod 200 + 1, each score once.
SampleMachine Numbered(int i) {
  SampleMachine m = Sample("user" + std::to_string(i), "rig" + std::to_string(i), 1000 + 10 * i);
  m.form.cpuName = kCpus[i % 4];
  m.form.mail = "user" + std::to_string(i) + "@mail.example";
  m.result.score[0][1] = (37 * i) % 200 + 1;
  return m;
}

// The entry numbers a page links to, in order.
std::vector<int64_t> LinkedIds(const std::string& html) {
  static const std::regex link(R"(ranking\.php\?ID=(\d+))");
  std::vector<int64_t> ids;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator();
       ++it) {
    ids.push_back(std::stoll((*it)[1].str()));
  }
  return ids;
}

std::vector<int64_t> Range(int64_t from, int64_t downTo) {
  std::vector<int64_t> ids;
  for (int64_t id = from; id >= downTo; --id) ids.push_back(id);
  return ids;
}

TEST_F(ServiceTest, TwoHundredEntriesBrowsedSearchedAndCompared) {
  for (int i = 1; i <= 200; ++i) ASSERT_EQ(Post(Numbered(i).Body()), i);

  // Pages of 50 by mark, in both languages and at the bare address.
  const struct {
    const char* path;
    std::vector<int64_t> ids;
  } pages[] = {
      {"/", Range(200, 151)},
      {"/?page=2", Range(150, 101)},
      {"/Velora/09/?page=4", Range(50, 1)},
      {"/Velora/09en/?page=2&sort=score", Range(150, 101)},
      {"/Velora/09en/?sort=date&page=1&per_page=3", {200, 199, 198}},
  };
  for (const auto& page : pages) {
    const Fetched fetched = Get(page.path);
    EXPECT_EQ(fetched.status, 200) << page.path;
    EXPECT_EQ(LinkedIds(fetched.body), page.ids) << page.path;
  }

  // A search finds exactly the entries of that CPU (i mod 4 = 2), in the page and in JSON.
  std::set<int64_t> pentium;
  for (int64_t i = 2; i <= 200; i += 4) pentium.insert(i);
  const std::vector<int64_t> found = LinkedIds(Get("/?q=pentium%20d&per_page=200").body);
  EXPECT_EQ(std::set<int64_t>(found.begin(), found.end()), pentium);
  EXPECT_EQ(found.size(), pentium.size());
  const auto json = nlohmann::json::parse(Get("/api/entries?q=Pentium%20D&per_page=200").body);
  EXPECT_EQ(json["total"], 50);
  std::set<int64_t> jsonIds;
  for (const auto& e : json["entries"]) jsonIds.insert(e["id"].get<int64_t>());
  EXPECT_EQ(jsonIds, pentium);

  // The ALU ranking is sorted by the ALU score: 200, 199, ... down to 1, each once.
  const auto alu = nlohmann::json::parse(Get("/api/entries?test=ALU&per_page=200").body);
  ASSERT_EQ(alu["entries"].size(), 200u);
  for (size_t n = 0; n < 200; ++n) {
    EXPECT_EQ(alu["entries"][n]["score"], 200 - static_cast<int>(n)) << n;
    EXPECT_EQ(alu["entries"][n]["place"], n + 1);
  }
  // Page 2 of 3 per page in the ALU order: scores 197, 196, 195.
  const auto second = nlohmann::json::parse(Get("/api/entries?test=ALU&per_page=3&page=2").body);
  EXPECT_EQ(second["entries"][0]["score"], 197);
  EXPECT_EQ(second["entries"][2]["place"], 6);

  const Fetched compare = Get("/compare?ids=5,9");
  EXPECT_EQ(compare.status, 200);
  EXPECT_NE(compare.body.find("rig5"), std::string::npos);
  EXPECT_NE(compare.body.find("rig9"), std::string::npos);
  // Entry 9's mark 1090 against entry 5's 1050: +3.8 %.
  EXPECT_NE(compare.body.find("+3.8 %"), std::string::npos);

  // Entry 120 is 81st of 200: the five above (124 .. 121) and below (119 .. 115).
  const Fetched entry = Get("/Velora/09en/ranking.php?ID=120");
  const std::vector<int64_t> linked = LinkedIds(entry.body);
  ASSERT_GE(linked.size(), 12u);
  EXPECT_EQ(linked[0], 120);  // the page in the other language
  EXPECT_EQ(std::vector<int64_t>(linked.begin() + 1, linked.begin() + 12), Range(125, 115));
  EXPECT_NE(entry.body.find("81 / 200"), std::string::npos);
  EXPECT_NE(entry.body.find("<th>Fibonacci</th>"), std::string::npos);
  EXPECT_NE(entry.body.find("<svg class=\"chart\""), std::string::npos);

  // Every page fits a phone, and none carries a mail address.
  const char* everyPage[] = {
      "/", "/Velora/09/", "/?q=rig7", "/?test=ALU&vendor=AMD", "/Velora/09/ranking.php?ID=5",
      "/Velora/09en/ranking.php?ID=5", "/compare?ids=1,2,3", "/Velora/09/compare?id=1&id=2",
      "/Velora/09en/ranking.php?ID=999", "/?page=x", "/compare?ids=1",
  };
  for (const char* path : everyPage) {
    const Fetched page = Get(path);
    EXPECT_NE(page.body.find("<meta name=\"viewport\" content=\"width=device-width"),
              std::string::npos)
        << path;
    EXPECT_EQ(page.body.find("@mail.example"), std::string::npos) << path;
  }
  for (const char* path : {"/api/entries?per_page=200", "/api/entries/5", "/api/entries/200"}) {
    EXPECT_EQ(Get(path).body.find("@mail.example"), std::string::npos) << path;
  }
}

// The pages read through connections of their own while registrations write.
TEST_F(ServiceTest, PagesAreReadWhileEntriesAreWritten) {
  constexpr int kWriters = 2, kEach = 20, kReads = 40;
  std::vector<std::thread> threads;
  std::atomic<int> registered{0}, answered{0};
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([&, w] {
      for (int i = 1; i <= kEach; ++i) {
        const int n = w * kEach + i;
        if (PostForm(Numbered(n).Body(), url(), kRegisterPath, kAgentName).reply > 0) ++registered;
      }
    });
  }
  threads.emplace_back([&] {
    const char* paths[] = {"/", "/?vendor=AMD", "/Velora/09/ranking.php?ID=1", "/api/entries"};
    for (int i = 0; i < kReads; ++i) {
      const long status = Get(paths[i % 4]).status;
      // The first entry's page is missing until it is written.
      if (status == 200 || (status == 404 && i % 4 == 2)) ++answered;
    }
  });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(registered, kWriters * kEach);
  EXPECT_EQ(answered, kReads);
  const auto list = nlohmann::json::parse(Get("/api/entries?vendor=AMD&per_page=200").body);
  // Entries n with n mod 4 = 1 or 3 have an AMD processor: 20 of the 40.
  EXPECT_EQ(list["total"], 20);
}

TEST_F(ServiceTest, AnEmptyRankingWelcomesAndSaysHowToRegister) {
  for (const char* path : {"/", "/Velora/09/", "/Velora/09en/"}) {
    const Fetched page = Get(path);
    EXPECT_EQ(page.status, 200) << path;
    EXPECT_NE(page.body.find("<section class=\"welcome\">"), std::string::npos) << path;
    EXPECT_NE(page.body.find("RankingServer=http://"), std::string::npos) << path;
  }
  const auto list = nlohmann::json::parse(Get("/api/entries").body);
  EXPECT_EQ(list["total"], 0);
  const struct {
    const char* path;
    long status;
  } refusals[] = {{"/api/entries?test=XYZ", 400}, {"/api/entries?sort=best", 400},
                  {"/api/entries?per_page=201", 400}, {"/?page=0", 400},
                  {"/compare?ids=1,2", 404},          {"/compare?ids=1,2,3,4", 400}};
  for (const auto& r : refusals) EXPECT_EQ(Get(r.path).status, r.status) << r.path;
}

}  // namespace
}  // namespace velora::testing
