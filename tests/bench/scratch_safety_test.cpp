// The scratch folder and file as a hostile or careless neighbour would meet them: planted
// links, long paths, names already taken, runs that died, files that vanish mid-run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "bench/bench_runner.h"
#include "bench/scratch_file.h"
#include "bench/scratch_folder.h"
#include "bench_fakes.h"
#include "core/ui_language.h"

namespace velora {
namespace {

namespace fs = std::filesystem;
using testing::EngineAnswer;
using testing::FakeEngine;
using testing::FakeHost;
using testing::RecordingObserver;

// FakeHost's first tick: the seed of the first scratch folder name a run tries.
constexpr uint32_t kFirstTick = 0x1234ABC0 + 16;

std::string FolderName(uint32_t tick) {
  char name[16];
  std::snprintf(name, sizeof name, "Velora%08X", tick);
  return name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every file under root with its contents, to tell that nothing outside changed.
std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    tree[entry.path()] = entry.is_regular_file() ? ReadAll(entry.path()) : "<dir>";
  }
  return tree;
}

class ScratchSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velora_scratch_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    options_.scratchRoot = root_;
    options_.scratchSizeText = "4MB";
    options_.language = kEnglish;
  }
  void TearDown() override { fs::remove_all(root_); }

  void RunHdd() {
    runner_.SetOptions(options_);
    ASSERT_TRUE(runner_.StartRun(kTestHdd));
    runner_.WaitUntilIdle();
  }

  std::string root_;
  RunOptions options_;
  FakeEngine engine_;
  FakeHost host_;
  RecordingObserver observer_;
  BenchRunner runner_{engine_, host_, observer_, 2};
};

TEST_F(ScratchSafetyTest, PlantedLinksInASharedFolderNeverRedirectARootRun) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root: the attack plants links as another user for a root run";
  }
  const passwd* nobody = getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  ASSERT_EQ(chmod(root_.c_str(), 01777), 0);
  const std::string victim = root_ + "/victim";
  { std::ofstream(victim) << "root's data"; }
  // The neighbour's trap for the coming names: the folder as a link to a folder of theirs that
  // holds the scratch file's name as a link to the victim, and the folder with that link inside.
  const std::string lair = root_ + "/lair";
  ASSERT_EQ(mkdir(lair.c_str(), 0777), 0);
  for (uint32_t i = 0; i < 4; ++i) {
    const std::string name = FolderName(kFirstTick + i);
    ASSERT_EQ(symlink(victim.c_str(), (lair + "/" + name + ".tmp").c_str()), 0);
    const std::string planted = root_ + "/" + name;
    if (i % 2 == 0) {
      ASSERT_EQ(symlink(lair.c_str(), planted.c_str()), 0);
    } else {
      ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
      ASSERT_EQ(symlink(victim.c_str(), (planted + "/" + name + ".tmp").c_str()), 0);
      ASSERT_EQ(lchown((planted + "/" + name + ".tmp").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
      ASSERT_EQ(chown(planted.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    ASSERT_EQ(lchown(planted.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  }
  RunHdd();
  EXPECT_EQ(ReadAll(victim), "root's data");
  // The run took a fresh name and measured there.
  const auto sizes = engine_.HddFileSizes();
  ASSERT_FALSE(sizes.empty());
  for (long size : sizes) EXPECT_EQ(size, 4 * 1048576);
  EXPECT_TRUE(runner_.Failures().empty());
  // The planted entries are the neighbour's and stay; ours is gone.
  for (uint32_t i = 0; i < 4; ++i) EXPECT_TRUE(fs::exists(fs::symlink_status(root_ + "/" + FolderName(kFirstTick + i))));
  EXPECT_FALSE(fs::exists(root_ + "/" + FolderName(kFirstTick + 4)));
}

// Names from the clock could be planted ahead, a whole range of them: the run's name is not
// among them, and the run goes on.
TEST_F(ScratchSafetyTest, NamesPlantedAheadDoNotStopTheRun) {
  for (uint32_t i = 0; i < 8; ++i) {
    ASSERT_EQ(mkdir((root_ + "/" + FolderName(kFirstTick + i)).c_str(), 0700), 0);
  }
  RunHdd();
  EXPECT_GT(engine_.CallsOf(kTestHdd), 0);
  EXPECT_TRUE(runner_.Failures().empty());
}

TEST_F(ScratchSafetyTest, TwoFoldersGetTwoUnpredictableNames) {
  ScratchFailure failure;
  auto first = ScratchFolder::Create(root_, failure);
  auto second = ScratchFolder::Create(root_, failure);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Path(), second->Path());
  for (const auto* folder : {&*first, &*second}) {
    const std::string name = fs::path(folder->Path()).filename();
    ASSERT_EQ(name.size(), 12u) << name;
    EXPECT_EQ(name.rfind("Velora", 0), 0u) << name;
    for (size_t i = 6; i < name.size(); ++i) EXPECT_TRUE(std::isalnum(name[i])) << name;
  }
  struct stat info {};
  ASSERT_EQ(stat(first->Path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  const std::string firstPath = first->Path();
  first.reset();
  EXPECT_FALSE(fs::exists(firstPath));
  EXPECT_TRUE(fs::exists(second->Path()));
}

TEST_F(ScratchSafetyTest, LongFolderNeitherCutNorRefusedAndNothingOutsideChanges) {
  // P/notes is exactly 259 characters, the length a fixed path field used to cut to, and the
  // chosen folder P/notes-benchmark-scratch lies beyond it.
  ASSERT_LT(root_.size(), 100u);
  std::string parent = root_ + "/" + std::string(100, 'd');
  ASSERT_EQ(mkdir(parent.c_str(), 0700), 0);
  parent += "/" + std::string(253 - parent.size() - 1, 'e');
  ASSERT_EQ(mkdir(parent.c_str(), 0700), 0);
  const std::string notes = parent + "/notes";
  ASSERT_EQ(notes.size(), 259u);
  { std::ofstream(notes) << "my notes"; }
  const std::string chosen = notes + "-benchmark-scratch";
  ASSERT_EQ(mkdir(chosen.c_str(), 0700), 0);
  const auto before = Tree(root_);

  options_.scratchRoot = chosen;
  RunHdd();
  EXPECT_TRUE(runner_.Failures().empty()) << runner_.Failures().front();
  const auto sizes = engine_.HddFileSizes();
  ASSERT_EQ(sizes.size(), 24u);
  for (long size : sizes) EXPECT_EQ(size, 4 * 1048576);
  EXPECT_EQ(Tree(root_), before);
}

TEST_F(ScratchSafetyTest, FoldersOfKilledRunsGoAtTheNextRunAndLiveOnesStay) {
  // A run killed after writing its lock: the lock file is there but nobody holds the folder.
  const std::string dead = root_ + "/" + FolderName(0x00000001);
  ASSERT_EQ(mkdir(dead.c_str(), 0700), 0);
  { std::ofstream(dead + "/" + kScratchLockName) << "999999\n"; }
  { std::ofstream(dead + "/" + FolderName(0x00000001) + ".tmp") << std::string(4096, 'x'); }
  // The same with a name as mkdtemp makes them.
  const std::string deadToo = root_ + "/VeloraQx7Lm2";
  ASSERT_EQ(mkdir(deadToo.c_str(), 0700), 0);
  { std::ofstream(deadToo + "/" + kScratchLockName) << "999998\n"; }
  // A live run: it holds its folder locked.
  ScratchFailure failure;
  auto live = ScratchFolder::Create(root_, failure);
  ASSERT_TRUE(live);
  // A folder being made right now, before its lock file: young, so left alone.
  const std::string young = root_ + "/" + FolderName(0x00000003);
  ASSERT_EQ(mkdir(young.c_str(), 0700), 0);
  // Not ours by name.
  const std::string other = root_ + "/VeloraNotMine";
  ASSERT_EQ(mkdir(other.c_str(), 0700), 0);

  engine_.Script(kTestAlu, 0, {{0, 1, 1}});
  options_.scratchSizeText = "4MB";
  runner_.SetOptions(options_);
  ASSERT_TRUE(runner_.StartRun(kTestAlu));  // no HDD: the clean-up happens all the same
  runner_.WaitUntilIdle();
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_FALSE(fs::exists(deadToo));
  EXPECT_TRUE(fs::exists(live->Path()));
  EXPECT_TRUE(fs::exists(young));
  EXPECT_TRUE(fs::exists(other));
}

TEST_F(ScratchSafetyTest, SignalTimeRemovalTakesTheFolderAndItsFile) {
  ScratchFailure failure;
  auto folder = ScratchFolder::Create(root_, failure);
  ASSERT_TRUE(folder);
  const int fd = folder->CreateFile(folder->FileName());
  ASSERT_GE(fd, 0);
  close(fd);
  RemoveScratchFoldersNow();
  EXPECT_FALSE(fs::exists(folder->Path()));
}

TEST_F(ScratchSafetyTest, StopDuringPreparationLeavesNoFile) {
  ScratchFailure failure;
  auto folder = ScratchFolder::Create(root_, failure);
  ASSERT_TRUE(folder);
  HddScratchParams params{};
  params.fileSize = 8 * 1048576;
  params.blockSize = kScratchBlockSize;
  ScratchBlock block;
  const std::atomic<bool> stop{true};
  const auto result = PrepareScratchFile(params, block, host_, *folder, stop);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->kind, ScratchFailureKind::kStopped);
  EXPECT_FALSE(folder->FileExists(folder->FileName()));
}

TEST_F(ScratchSafetyTest, AFailedHddSubTestIsNegativeWithItsReasonNeverZero) {
  engine_.Script(kTestHdd, 2, {{0, 5, 50}, {-1, -1, 0}});
  // The file vanishes before sub-test 3: the engine says so with -1.
  engine_.OnCall([&](int test, int subTest) {
    if (test != kTestHdd || subTest != 3) return;
    for (const auto& entry : fs::directory_iterator(root_)) {
      for (const auto& inner : fs::directory_iterator(entry.path())) {
        if (inner.path().extension() == ".tmp") fs::remove(inner.path());
      }
    }
  });
  engine_.Script(kTestHdd, 3, {{-1, -1, 0}});
  RunHdd();
  const BenchResult result = runner_.Snapshot();
  EXPECT_LT(result.score[kTestHdd][2], 0);
  EXPECT_EQ(result.value[kTestHdd][2], 0);
  EXPECT_LT(result.score[kTestHdd][3], 0);
  const auto failures = runner_.Failures();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[0].find("HDD T4S2: "), std::string::npos) << failures[0];
  EXPECT_NE(failures[0].find("input/output error"), std::string::npos) << failures[0];
  EXPECT_NE(failures[1].find("HDD T4S3: "), std::string::npos) << failures[1];
  EXPECT_NE(failures[1].find(": the scratch file is gone"), std::string::npos) << failures[1];
  EXPECT_TRUE(observer_.Starts("failed 4.2 HDD T4S2: "));
}

TEST_F(ScratchSafetyTest, ScratchSizesBelowWhatTheEngineMeasuresAreRefused) {
  options_.scratchSizeText = "3MB";
  RunHdd();
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 0);
  EXPECT_TRUE(observer_.Starts("message The HDD size is below the smallest"));
  EXPECT_EQ(runner_.Failures().size(), 1u);
  EXPECT_TRUE(fs::is_empty(root_));
}

TEST_F(ScratchSafetyTest, AFailingAluCallIsReportedThoughTheBestOfFourKeepsTheGoodOnes) {
  engine_.Script(kTestAlu, 0, {{0, 40, 4}, {-1, -1, 0}, {0, 30, 3}, {0, 20, 2}});
  runner_.SetOptions(options_);
  ASSERT_TRUE(runner_.StartRun(kTestAlu));
  runner_.WaitUntilIdle();
  EXPECT_EQ(runner_.Snapshot().score[kTestAlu][0], 40);
  ASSERT_EQ(runner_.Failures().size(), 1u);
  EXPECT_EQ(runner_.Failures()[0], "ALU T1S0: 1 engine call(s) failed");
}

}  // namespace
}  // namespace velora
