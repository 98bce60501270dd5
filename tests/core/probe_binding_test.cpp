#include "core/probe_binding.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "core/library_file_check.h"

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

TEST(ProbeBinding, InstalledLayoutFindsTheLibraryInItsPrivateFolder) {
  testing::TempFolder prefix;
  std::filesystem::create_directories(prefix.path() + "/bin");
  std::filesystem::create_directories(prefix.path() + "/lib/velora09");
  // The stand-in answers release "999", which no library on the search path does.
  std::filesystem::copy_file(VELORA_FAKE_PROBIX_DIR "/libprobix.so",
                             prefix.path() + "/lib/velora09/libprobix.so");
  ProbeBinding binding(prefix.path() + "/bin");
  ASSERT_TRUE(binding.Load(0x700));
  ASSERT_NE(binding.probe(), nullptr);
  char release[kProbeTextCapacity] = "";
  EXPECT_EQ(binding.probe()->GetString(1, release), 0);
  EXPECT_STREQ(release, "999");
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

TEST(ProbeBinding, TruncatedOrForeignCopiesCountAsMissingWithoutBeingMapped) {
  const std::string real = std::string(VELORA_BIN_DIR) + "/libprobix.so";
  const auto size = std::filesystem::file_size(real);
  testing::TempFolder folder;
  const std::string copy = folder.path() + "/libprobix.so";
  // Cut inside its loaded segments: mapping it would fault on the missing pages.
  for (const auto cut : {size / 2, size - 1, uintmax_t{64}, uintmax_t{3}, uintmax_t{0}}) {
    std::filesystem::copy_file(real, copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(copy, cut);
    EXPECT_FALSE(PlausibleSharedLibrary(copy)) << "cut at " << cut;
    ProbeBinding binding(folder.path());
    EXPECT_FALSE(binding.Load(0x700)) << "cut at " << cut;
    EXPECT_EQ(binding.MissingMessage(), "Not found \"libprobix.so\".");
  }
  EXPECT_TRUE(PlausibleSharedLibrary(real));
  EXPECT_FALSE(PlausibleSharedLibrary(folder.path())) << "a folder";
  EXPECT_FALSE(PlausibleSharedLibrary("/dev/zero"));
}

}  // namespace
}  // namespace velora
