#include <gtest/gtest.h>

#include <map>

#include "server/compare_page.h"
#include "server/cpu_vendor.h"
#include "server/list_params.h"
#include "server/svg_chart.h"

namespace velora::server {
namespace {

TEST(ListParams, ReadsTheAddressAndWritesItBack) {
  const struct {
    std::map<std::string, std::string> query;
    bool ok;
    int order;
    int64_t offset, limit;
    std::string back;  // the listing's address again, at page 3
  } cases[] = {
      {{}, true, kOverallOrder, 0, 50, "?page=3"},
      {{{"page", "2"}}, true, kOverallOrder, 50, 50, "?page=3"},
      {{{"test", "FPU"}, {"per_page", "10"}, {"page", "4"}}, true, 1, 30, 10,
       "?test=FPU&per_page=10&page=3"},
      {{{"test", "overall"}}, true, kOverallOrder, 0, 50, "?page=3"},
      {{{"q", "  Core 2 & co  "}, {"sort", "date"}}, true, kOverallOrder, 0, 50,
       "?q=Core%202%20%26%20co&sort=date&page=3"},
      {{{"vendor", "AMD"}, {"country", "JP"}, {"sort", "score"}}, true, kOverallOrder, 0, 50,
       "?vendor=AMD&country=JP&page=3"},
      {{{"test", "XYZ"}}, false, 0, 0, 0, ""},
      {{{"sort", "best"}}, false, 0, 0, 0, ""},
      {{{"page", "0"}}, false, 0, 0, 0, ""},
      {{{"page", "2x"}}, false, 0, 0, 0, ""},
      {{{"per_page", "201"}}, false, 0, 0, 0, ""},
      {{{"q", std::string(101, 'a')}}, false, 0, 0, 0, ""},
  };
  for (const auto& c : cases) {
    std::string problem;
    const std::optional<ListParams> params = ReadListParams(
        [&](const char* name) {
          const auto it = c.query.find(name);
          return it == c.query.end() ? std::string() : it->second;
        },
        problem);
    ASSERT_EQ(params.has_value(), c.ok) << c.back << problem;
    if (!params) continue;
    EXPECT_EQ(params->query.order, c.order);
    EXPECT_EQ(params->query.offset, c.offset);
    EXPECT_EQ(params->query.limit, c.limit);
    EXPECT_EQ(ListQueryString(*params, 3), c.back);
  }
}

TEST(ComparedIds, TakesTwoOrThreeNumbersInEitherForm) {
  using Ids = std::vector<int64_t>;
  const struct {
    std::vector<std::string> texts;
    std::optional<Ids> ids;
  } cases[] = {
      {{"1,2"}, Ids{1, 2}},      {{"3,1,2"}, Ids{3, 1, 2}}, {{"1", "2"}, Ids{1, 2}},
      {{"1,,2,"}, Ids{1, 2}},    {{"1,1,2"}, Ids{1, 2}},    {{"1"}, std::nullopt},
      {{"1,1"}, std::nullopt},   {{"1,2,3,4"}, std::nullopt}, {{"1,x"}, std::nullopt},
      {{"0,2"}, std::nullopt},   {{"-1,2"}, std::nullopt},  {{}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadComparedIds(c.texts), c.ids) << c.texts.size();
}

TEST(CpuVendor, FromTheVendorStringElseTheName) {
  const struct {
    const char *vendorString, *name, *vendor;
  } cases[] = {
      {"GenuineIntel", "", "Intel"},
      {"AuthenticAMD", "Core i7", "AMD"},  // the vendor string wins
      {"", "Core 2 Duo E6600", "Intel"},
      {"", "AMD Athlon 64 X2 Dual Core", "AMD"},  // "Core" in an AMD name
      {"", "Athlon 64 X2 Dual-Core 4800+", "AMD"},
      {"", "Intel(R) Xeon(R) E5-2680", "Intel"},
      {"", "Ryzen 5 3600", "AMD"},
      {"CentaurHauls", "", "VIA"},
      {"", "Cortex-A72", "Other"},
      {"", "", "Other"},
  };
  for (const auto& c : cases) EXPECT_EQ(CpuVendorOf(c.vendorString, c.name), c.vendor) << c.name;
}

TEST(PerCentDifference, AgainstTheReference) {
  EXPECT_EQ(PerCentDifference(1125, 1000), "+12.5 %");
  EXPECT_EQ(PerCentDifference(900, 1000), "-10.0 %");
  EXPECT_EQ(PerCentDifference(1000, 1000), "+0.0 %");
  EXPECT_EQ(PerCentDifference(5, 0), "");
  EXPECT_EQ(PerCentDifference(0, 1000), "");
}

}  // namespace
}  // namespace velora::server
