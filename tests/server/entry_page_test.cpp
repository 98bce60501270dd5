#include "server/entry_page.h"

#include <gtest/gtest.h>

#include "server/compare_page.h"
#include "server/index_page.h"
#include "tests/server/reads_fixture.h"

namespace velora::testing {
namespace {

using server::PageLanguage;

// Stored directly, past the service's refusal of markup: every page must hold on its own.
TEST_F(ReadsFixture, PagesEscapeMarkupThatReachedTheStore) {
  server::NewEntry entry;
  entry.created = 1'800'000'000;
  entry.userName = "<script>alert(1)</script>";
  entry.machine = "<b onmouseover=\"x()\">";
  entry.cpuName = "CPU";
  entry.comment = "</td><script>alert(2)</script>";
  entry.passwordHash = "unused";
  entry.digest = "d";
  entry.mark = 10;
  entry.tests[0] = 5;
  entry.pairs = {{"Web", "\"><script>alert(3)</script>"}, {"OsName", "<i>OS</i>"},
                 {"Country", "<u>"}};
  ASSERT_EQ(store_.Insert(entry), 1);
  entry.digest = "e";
  ASSERT_EQ(store_.Insert(entry), 2);

  for (PageLanguage language : {PageLanguage::kJapanese, PageLanguage::kEnglish}) {
    const std::string pages[] = {
        server::EntryPage(*reads_, 1, language).value(),
        server::IndexPage(*reads_, {}, language),
        server::ComparePage(*reads_, {1, 2}, language).value(),
    };
    for (const std::string& page : pages) {
      EXPECT_EQ(page.find("<script"), std::string::npos) << page;
      EXPECT_EQ(page.find("<b "), std::string::npos);
      EXPECT_EQ(page.find("<i>"), std::string::npos);
      EXPECT_EQ(page.find("<u>"), std::string::npos);
      EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    }
    EXPECT_NE(pages[0].find("&lt;/td&gt;&lt;script&gt;alert(2)"), std::string::npos);
    EXPECT_NE(pages[0].find("&quot;&gt;&lt;script&gt;alert(3)"), std::string::npos);
  }
  EXPECT_FALSE(server::EntryPage(*reads_, 3, PageLanguage::kEnglish));
  EXPECT_FALSE(server::ComparePage(*reads_, {1, 3}, PageLanguage::kEnglish));
}

}  // namespace
}  // namespace velora::testing
