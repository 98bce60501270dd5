// Binding on this machine, done on a thread of the test's own so that the rest of the process
// keeps its processors.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/linux/linux_processor_affinity.h"

namespace velora {
namespace {

TEST(LinuxProcessorAffinity, AThreadBoundToOneProcessorRunsThereAndSeesOnlyIt) {
  std::thread([] {
    LinuxProcessorAffinity affinity;
    const std::vector<int> allowed = affinity.AllowedProcessors();
    ASSERT_FALSE(allowed.empty());
    EXPECT_TRUE(std::is_sorted(allowed.begin(), allowed.end()));
    const int last = allowed.back();
    ASSERT_TRUE(affinity.RestrictCurrentThread({last}));
    EXPECT_EQ(affinity.AllowedProcessors(), std::vector<int>{last});
    EXPECT_EQ(affinity.CurrentProcessor(), last);
  }).join();
}

TEST(LinuxProcessorAffinity, NoProcessorOrANumberOutOfRangeIsRefused) {
  std::thread([] {
    LinuxProcessorAffinity affinity;
    const std::vector<int> before = affinity.AllowedProcessors();
    EXPECT_FALSE(affinity.RestrictCurrentThread({}));
    EXPECT_FALSE(affinity.RestrictCurrentThread({-1}));
    EXPECT_FALSE(affinity.RestrictCurrentThread({1 << 20}));
    EXPECT_EQ(affinity.AllowedProcessors(), before) << "a refused binding changes nothing";
  }).join();
}

}  // namespace
}  // namespace velora
