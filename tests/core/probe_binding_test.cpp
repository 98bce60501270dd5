#include "core/probe_binding.h"

#include <dlfcn.h>

#include <cstdlib>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

TEST(ProbeBinding, LoadsTheLibraryOfTheProgramFolderAndReleasesIt) {
  ProbeBinding binding(VELORA_BIN_DIR);
  ASSERT_TRUE(binding.Load(0x700));
  ASSERT_TRUE(binding.loaded());
  ASSERT_NE(binding.probe(), nullptr);
  char release[kProbeTextCapacity] = "";
  EXPECT_EQ(binding.probe()->GetString(1, release), 0);
  EXPECT_STREQ(release, "275");
  EXPECT_TRUE(binding.Release());
  EXPECT_FALSE(binding.loaded());
  EXPECT_EQ(binding.probe(), nullptr);
  EXPECT_FALSE(binding.Release()) << "nothing is loaded any more";
}

TEST(ProbeBinding, ReleaseDestroysTheObjectAndUnloadsTheLibrary) {
  std::string path = VELORA_FAKE_PROBIX_DIR "/libprobix.so";
  ProbeBinding binding(VELORA_FAKE_PROBIX_DIR);
  ASSERT_TRUE(binding.Load(0x700));
  void* peek = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(peek, nullptr);
  auto live = reinterpret_cast<int (*)()>(dlsym(peek, "FakeProbixLiveObjects"));
  ASSERT_NE(live, nullptr);
  EXPECT_EQ(live(), 1);
  dlclose(peek);
  ASSERT_TRUE(binding.Release());
  EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "still loaded";
}

TEST(ProbeBinding, MissingLibraryIsReportedWithItsLinuxName) {
  testing::TempFolder empty;
  if (void* h = dlopen(kProbeLibraryName, RTLD_NOW | RTLD_NOLOAD | RTLD_LOCAL)) {
    dlclose(h);
    GTEST_SKIP() << "the search path already has the library";
  }
  ProbeBinding binding(empty.path());
  EXPECT_FALSE(binding.Load(0x700));
  EXPECT_FALSE(binding.loaded());
  EXPECT_EQ(binding.MissingMessage(), "Not found \"libprobix.so\".");
  EXPECT_FALSE(binding.Release());
}

TEST(ProbeBinding, LibraryWithoutCreateProbixCountsAsMissing) {
  // The C library is loadable everywhere and exports no CreateProbix.
  ProbeBinding binding("/nonexistent", "libc.so.6");
  EXPECT_FALSE(binding.Load(0x700));
  EXPECT_FALSE(binding.loaded());
}

}  // namespace
}  // namespace velora
