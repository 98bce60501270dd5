#include "info/system_page_data.h"

#include <gtest/gtest.h>

#include "core/ui_language.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

// As /proc/meminfo says it on a 24 GiB machine, in KiB.
constexpr const char* kMemInfo =
    "MemTotal:       25165824 kB\n"
    "MemFree:         1048576 kB\n"
    "MemAvailable:   12582912 kB\n"
    "CommitLimit:    12582912 kB\n"
    "Committed_AS:    4194304 kB\n";

TEST(SystemFacts, MemoryIsSixtyFourBitAndOvercommitLeavesNothing) {
  MemoryStatus m = MemoryStatusFrom(kMemInfo, "Name:\tx\nVmSize:\t  1048576 kB\n");
  EXPECT_EQ(m.physicalTotal, 25165824ull * 1024) << "24 GiB does not wrap at 4 GiB";
  EXPECT_EQ(m.physicalAvailable, 12582912ull * 1024);
  EXPECT_EQ(m.pageTotal, 12582912ull * 1024);
  EXPECT_EQ(m.pageAvailable, (12582912ull - 4194304ull) * 1024);
  EXPECT_EQ(m.virtualTotal, (1ull << 47) - 4096);
  EXPECT_EQ(m.virtualAvailable, (1ull << 47) - 4096 - (1ull << 30));

  m = MemoryStatusFrom(
      "MemTotal: 1024 kB\nMemFree: 512 kB\nCommitLimit: 100 kB\n"
      "Committed_AS: 200 kB\n",
      "");
  EXPECT_EQ(m.physicalAvailable, 512u * 1024) << "old kernels without MemAvailable";
  EXPECT_EQ(m.pageAvailable, 0u);
  EXPECT_EQ(KibField("MemTotalX: 5 kB\n", "MemTotal"), -1) << "a longer key is another key";
  EXPECT_EQ(KibField("MemTotal: garbage\n", "MemTotal"), -1);
}

TEST(SystemFacts, UpTimeAndMinimumAddressFromTheRoot) {
  testing::TempFolder root;
  EXPECT_LT(ReadUpTimeSeconds(root.path()), 0);
  EXPECT_EQ(ReadMinimumMapAddress(root.path()), 65536u);
  testing::WriteText(root.file("proc/uptime"), "3725.42 7000.00\n");
  testing::WriteText(root.file("proc/sys/vm/mmap_min_addr"), "4096\n");
  EXPECT_DOUBLE_EQ(ReadUpTimeSeconds(root.path()), 3725.42);
  EXPECT_EQ(ReadMinimumMapAddress(root.path()), 4096u);
}

TEST(SystemPage, UpTimeAndAddressFormats) {
  EXPECT_EQ(UpTimeText(3725.0), "1 h 02 m 05 s");
  EXPECT_EQ(UpTimeText(0.9), "0 h 00 m 00 s");
  // 60 days: past the 49.7 days where a 32-bit millisecond count wraps.
  EXPECT_EQ(UpTimeText(60.0 * 86400 + 61), "1440 h 01 m 01 s");
  EXPECT_EQ(UpTimeText(-1), "");
  EXPECT_EQ(AddressText(0x10000), "0x00010000");
  EXPECT_EQ(AddressText(0x7FFFFFFFEFFFull), "0x7FFFFFFFEFFF");
}

TEST(SystemPage, FixedFieldsAreIndentedAndEmptyQueriesStayEmpty) {
  SystemPageData page;
  OsIdentity os{"Debian GNU/Linux", "", "12 (bookworm)", "6.1", "6.1.0-28-amd64", ""};
  FixedSystemFacts facts;
  facts.machineName = "bench";
  facts.pageSize = 4096;
  facts.minimumAddress = 65536;
  facts.maximumAddress = 0x7FFFFFFFEFFFull;
  FillSystemPageOnce(page, os, facts);
  EXPECT_EQ(page.osName, " Debian GNU/Linux ");
  EXPECT_EQ(page.servicePack, " 12 (bookworm)");
  EXPECT_EQ(page.version, " 6.1 Build 6.1.0-28-amd64");
  EXPECT_EQ(page.machineName, " bench");
  EXPECT_EQ(page.userName, "") << "a failed query leaves the field empty, without the blank";
  EXPECT_EQ(page.pageSize, "4096");
  EXPECT_EQ(page.minimumAddress, "0x00010000");
}

TEST(SystemPage, LiveFieldsAreStoredOnlyWhenTheyChange) {
  SystemPageData page;
  const MemoryStatus m = MemoryStatusFrom(kMemInfo, "VmSize: 0 kB\n");
  EXPECT_EQ(RefreshSystemPageLive(page, m, 1700000000, 3725.0), 11);
  EXPECT_EQ(page.physicalTotal, "24576.00");
  EXPECT_EQ(page.physicalAvailable, "12288.00");
  EXPECT_EQ(page.physicalUsage, "50.00");
  EXPECT_EQ(page.pageUsage, "66.67");
  EXPECT_EQ(page.upTime, "1 h 02 m 05 s");
  EXPECT_EQ(RefreshSystemPageLive(page, m, 1700000000, 3725.5), 0) << "same texts, nothing stored";
  EXPECT_EQ(RefreshSystemPageLive(page, m, 1700000001, 3726.0), 2);
}

TEST(SystemPage, RenamedLabelsFollowTheLanguage) {
  SystemPageData page;
  page.homeDirectory = " /home/u";
  auto find = [](const PageView& v, const std::string& value) {
    for (const auto& g : v.groups)
      for (const auto& f : g.fields)
        if (f.value == value) return f.label;
    return std::string();
  };
  EXPECT_EQ(find(SystemPageView(page, kEnglish), " /home/u"), "Home Directory");
  EXPECT_EQ(find(SystemPageView(page, kJapanese), " /home/u"), "ホームディレクトリ");
}

}  // namespace
}  // namespace velora
