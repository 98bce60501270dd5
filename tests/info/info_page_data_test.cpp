// The Info page's version rows: the program's own, the probe library's from its ids 1 and 2,
// the engine's as it tells them.

#include "info/info_page_data.h"

#include <gtest/gtest.h>

#include "probe/probe_id_table.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

TEST(InfoPage, VersionRowsNameTheLinuxLibraries) {
  testing::FakeProbeObject probe;
  probe.texts[probe_id::kBuildNumber] = "275";
  probe.texts[probe_id::kBuildDate] = "2005/10/10";
  const auto rows = ComponentVersions(&probe, "0.9.115", "2026/12/08");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].component, "Core System");
  EXPECT_EQ(rows[0].version, "0.9.115");
  EXPECT_EQ(rows[0].date, "2026/12/09");
  EXPECT_EQ(rows[1].component, "libprobix.so");
  EXPECT_EQ(rows[1].version, "Release 275");
  EXPECT_EQ(rows[1].date, "2005/10/10");
  EXPECT_EQ(rows[2].component, "libvelora09.so");
  EXPECT_EQ(rows[2].version, "0.9.115");
  EXPECT_EQ(rows[2].date, "2026/12/08");
}

TEST(InfoPage, WithoutTheProbeLibraryItsRowIsEmpty) {
  const auto rows = ComponentVersions(nullptr, "", "");
  EXPECT_EQ(rows[1].component, "libprobix.so");
  EXPECT_EQ(rows[1].version, "");
  EXPECT_EQ(rows[1].date, "");
}

TEST(InfoPage, ViewPrintsOneLinePerComponent) {
  InfoPageData data;
  data.versions = {{"Core System", "0.9.115", "2026/12/09"}, {"libprobix.so", "Release 7", "d"}};
  const std::string text = PageViewText(InfoPageView(data));
  EXPECT_NE(text.find("Core System | 0.9.115 | 2026/12/09"), std::string::npos) << text;
  EXPECT_NE(text.find("libprobix.so | Release 7 | d"), std::string::npos) << text;
}

}  // namespace
}  // namespace velora
