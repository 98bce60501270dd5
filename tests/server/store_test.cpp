// The store and the rules over it: file modes, bounded password work per post, hashes at once.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>

#include "server/entry_store.h"
#include "server/registrar.h"
#include "server/result_codes.h"
#include "tests/server/sample_registration.h"
#include "tests/support/temp_folder.h"

namespace velora::testing {
namespace {

using namespace velora::server;

unsigned ModeOf(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return 0;
  return status.st_mode & 0777;
}

// The file holds password hashes and mail addresses: no other local user reads it.
TEST(EntryStoreFiles, FolderIs0700AndFilesAre0600) {
  TempFolder folder;
  const mode_t mask = umask(022);  // what a service started by hand usually has
  {
    EntryStore store;
    ASSERT_TRUE(store.Open(folder.file("new/deeper/ranking.sqlite"))) << store.problem();
    ASSERT_TRUE(store.Insert(NewEntry{}));
    EXPECT_EQ(ModeOf(folder.file("new")), 0700u);
    EXPECT_EQ(ModeOf(folder.file("new/deeper")), 0700u);
    EXPECT_EQ(ModeOf(folder.file("new/deeper/ranking.sqlite")), 0600u);
    EXPECT_EQ(ModeOf(folder.file("new/deeper/ranking.sqlite-wal")), 0600u);
  }
  // A file an earlier version left readable to all is closed to others when opened.
  WriteText(folder.file("old/ranking.sqlite"), "");
  chmod(folder.file("old/ranking.sqlite").c_str(), 0644);
  EntryStore store;
  ASSERT_TRUE(store.Open(folder.file("old/ranking.sqlite"))) << store.problem();
  EXPECT_EQ(ModeOf(folder.file("old/ranking.sqlite")), 0600u);
  umask(mask);
}

TEST(EntryStoreFiles, AFileThatIsALinkIsRefused) {
  TempFolder folder;
  WriteText(folder.file("elsewhere"), "");
  std::filesystem::create_symlink(folder.file("elsewhere"), folder.file("ranking.sqlite"));
  EntryStore store;
  EXPECT_FALSE(store.Open(folder.file("ranking.sqlite")));
}

// Twelve earlier entries of one machine under other passwords: one post compares at most
// kPasswordChecksPerPost of them, besides hashing its own password.
TEST(Registrar, BoundsThePasswordWorkOfOnePost) {
  TempFolder folder;
  EntryStore store;
  ASSERT_TRUE(store.Open(folder.file("ranking.sqlite"))) << store.problem();
  int64_t now = 1'800'000'000;
  Registrar registrar(store, HashCost::kMinimum, [&] { return now; });
  for (int i = 0; i < 12; ++i) {
    SampleMachine machine = Sample("Taro");
    machine.form.password = "password " + std::to_string(i);
    ASSERT_EQ(registrar.Register(machine.Body()), i + 1);
  }
  const uint64_t before = HashWorkSoFar().done;
  SampleMachine again = Sample("Taro");
  again.form.password = "yet another";
  EXPECT_EQ(registrar.Register(again.Body()), 13);
  EXPECT_EQ(HashWorkSoFar().done - before, 1u + kPasswordChecksPerPost);
  // The newest entries are the ones compared: the machine of the 12th password is found.
  SampleMachine last = Sample("Taro");
  last.form.password = "password 11";
  now += kDuplicateWindowSeconds + 1;
  EXPECT_EQ(registrar.Register(last.Body()), kMachineRegistered);
}

TEST(Registrar, RunsNoMoreHashesAtOnceThanPromised) {
  TempFolder folder;
  EntryStore store;
  ASSERT_TRUE(store.Open(folder.file("ranking.sqlite"))) << store.problem();
  Registrar registrar(store, HashCost::kMinimum);
  std::vector<std::thread> threads;
  std::atomic<int> stored{0};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 4; ++i) {
        // The same machine each time, with a new comment: every post compares passwords.
        SampleMachine machine = Sample("user " + std::to_string(t));
        machine.form.comment = "run " + std::to_string(i);
        if (registrar.Register(machine.Body()) > 0) ++stored;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(stored, 32);
  EXPECT_LE(HashWorkSoFar().mostAtOnce, kConcurrentHashes);
  EXPECT_GE(HashWorkSoFar().mostAtOnce, 1);
}

}  // namespace
}  // namespace velora::testing
