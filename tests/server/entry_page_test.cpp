#include "server/entry_page.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace velora::server {
namespace {

// Stored directly, past the service's refusal of markup: the page must hold on its own.
TEST(EntryPage, EscapesMarkupThatReachedTheStore) {
  velora::testing::TempFolder folder;
  EntryStore store;
  ASSERT_TRUE(store.Open(folder.file("ranking.sqlite"))) << store.problem();
  NewEntry entry;
  entry.created = 1'800'000'000;
  entry.userName = "<script>alert(1)</script>";
  entry.machine = "<b onmouseover=\"x()\">";
  entry.cpuName = "CPU";
  entry.comment = "</td><script>alert(2)</script>";
  entry.passwordHash = "unused";
  entry.digest = "d";
  entry.mark = 10;
  entry.tests[0] = 5;
  entry.pairs = {{"Web", "\"><script>alert(3)</script>"}, {"OsName", "<i>OS</i>"}};
  ASSERT_EQ(store.Insert(entry), 1);

  for (PageLanguage language : {PageLanguage::kJapanese, PageLanguage::kEnglish}) {
    const std::optional<std::string> page = EntryPage(store, 1, language);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->find("<script"), std::string::npos) << *page;
    EXPECT_EQ(page->find("<b "), std::string::npos);
    EXPECT_EQ(page->find("<i>"), std::string::npos);
    EXPECT_NE(page->find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page->find("&lt;b onmouseover=&quot;x()&quot;&gt;"), std::string::npos);
    EXPECT_NE(page->find("&lt;/td&gt;&lt;script&gt;alert(2)"), std::string::npos);
    EXPECT_NE(page->find("&quot;&gt;&lt;script&gt;alert(3)"), std::string::npos);
  }
  EXPECT_FALSE(EntryPage(store, 2, PageLanguage::kEnglish));
}

TEST(EntryPage, ShowsTheEntrysOwnRowBelowALongRanking) {
  velora::testing::TempFolder folder;
  EntryStore store;
  ASSERT_TRUE(store.Open(folder.file("ranking.sqlite"))) << store.problem();
  // 120 entries, the first the weakest: it ranks 120th, beyond the 100 rows shown.
  for (int i = 0; i < 120; ++i) {
    NewEntry entry;
    entry.userName = "user" + std::to_string(i + 1);
    entry.mark = 1000 + i;
    entry.digest = std::to_string(i);
    ASSERT_TRUE(store.Insert(entry));
  }
  const std::string page = *EntryPage(store, 1, PageLanguage::kEnglish);
  EXPECT_NE(page.find("<tr class=\"gap\">"), std::string::npos);
  EXPECT_NE(
      page.find("<tr class=\"mine\"><td>120</td><td><a href=\"/Velora/09en/ranking.php?ID=1\">"
                "user1</a>"),
      std::string::npos);
  EXPECT_NE(page.find("<td>100</td><td><a href=\"/Velora/09en/ranking.php?ID=21\">"),
            std::string::npos);
  EXPECT_EQ(page.find("<td>101</td>"), std::string::npos);
  EXPECT_EQ(store.PlaceOf(120, kOverall), 1);
  EXPECT_EQ(store.PlaceOf(1, 0), 0);  // no ALU score, no place
}

}  // namespace
}  // namespace velora::server
