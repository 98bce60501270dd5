// The HDD test on a real scratch file in a temporary folder: it refuses records it cannot use,
// never creates, grows or writes past the file, and falls back to buffered I/O on tmpfs.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/hdd_kernels.h"
#include "engine/sub_test_runner.h"
#include "engine/sub_test_table.h"
#include "platform/fake/fake_processor_affinity.h"
#include "platform/linux/linux_clock_source.h"

namespace velora::engine {
namespace {

namespace fs = std::filesystem;

constexpr RunBudget kQuick{.size = KernelSize::kSmall, .minSeconds = 0.0};

class HddTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = MakeFolder(fs::temp_directory_path()); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  static fs::path MakeFolder(const fs::path& parent) {
    std::string pattern = (parent / "velora-hdd-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made ? fs::path(made) : fs::path();
  }

  // A scratch file as the runner leaves it: full size, zero-filled.
  static void MakeFile(const fs::path& path, uint32_t bytes) {
    std::vector<char> zeros(1u << 20, 0);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (uint32_t done = 0; done < bytes; done += static_cast<uint32_t>(zeros.size()))
      ASSERT_EQ(std::fwrite(zeros.data(), 1, zeros.size(), f), zeros.size());
    std::fclose(f);
  }

  static HddScratchParams Params(const fs::path& path, uint32_t bytes) {
    HddScratchParams p{};
    p.fileSize = bytes;
    p.blockSize = 1u << 20;
    std::strncpy(p.filePath, path.c_str(), sizeof p.filePath - 1);
    return p;
  }

  int32_t Run(int32_t sub, const HddScratchParams* params, int32_t& score, int32_t& value) {
    score = value = 77;
    return RunSubTest(kHdd, sub, params, ProcessClockSource(), affinity, kQuick, &score, &value);
  }

  fs::path folder;
  FakeProcessorAffinity affinity{{0, 1, 2, 3}};
  static constexpr uint32_t kBytes = 4u << 20;
};

TEST_F(HddTest, RecordChecks) {
  EXPECT_EQ(CheckScratchParams(nullptr), ScratchProblem::kNull);
  HddScratchParams p = Params("/tmp/x", kBytes);
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kNone);
  p.blockSize = 0;
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kBadBlockSize);
  p.blockSize = 1000;  // not a whole number of device blocks
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kBadBlockSize);
  p = Params("/tmp/x", kMinScratchBytes - 4096);
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kUndersized);
  p = Params("/tmp/x", kBytes);
  p.blockSize = kBytes;  // one block only
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kUndersized);
  p = Params("", kBytes);
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kBadPath);
  p = Params("/tmp/x", kBytes);
  std::memset(p.filePath, 'a', sizeof p.filePath);  // no terminator in the field
  EXPECT_EQ(CheckScratchParams(&p), ScratchProblem::kBadPath);
}

TEST_F(HddTest, EverySubTestMeasuresTheFileAndLeavesItsSize) {
  const fs::path file = folder / "scratch.tmp";
  MakeFile(file, kBytes);
  HddScratchParams p = Params(file, kBytes);
  std::vector<unsigned char> block(p.blockSize, 0);
  p.blockBuffer = block.data();
  const auto rows = SubTestRows(kHdd);
  ASSERT_EQ(rows.size(), 6u);
  for (int32_t s = 0; s < 6; ++s) {
    int32_t score, value;
    EXPECT_EQ(Run(s, &p, score, value), 0) << rows[s].name;
    EXPECT_GT(score, 0) << rows[s].name;
    EXPECT_GT(value, 0) << rows[s].name;
  }
  // The disk is measured by one stream on the caller's thread, whatever the processors.
  EXPECT_EQ(affinity.bindings, 0);
  EXPECT_EQ(fs::file_size(file), kBytes);
  // The folder holds nothing but the scratch file.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(HddTest, WrittenBlocksLandInsideTheFileAtTheirOffsets) {
  const fs::path file = folder / "scratch.tmp";
  MakeFile(file, kBytes);
  HddScratchParams p = Params(file, kBytes);
  int32_t score, value;
  ASSERT_EQ(Run(1, &p, score, value), 0);  // sequential write
  FILE* f = std::fopen(file.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  int stamped = 0;
  for (uint64_t offset = 0; offset < kBytes; offset += p.blockSize) {
    uint64_t head = ~0ull;
    ASSERT_EQ(std::fseek(f, static_cast<long>(offset), SEEK_SET), 0);
    ASSERT_EQ(std::fread(&head, sizeof head, 1, f), 1u);
    EXPECT_EQ(head, offset);
    ++stamped;
  }
  std::fclose(f);
  EXPECT_EQ(stamped, 4);
}

TEST_F(HddTest, MissingOrShortFileIsRefusedAndNothingIsCreated) {
  const fs::path missing = folder / "missing.tmp";
  HddScratchParams p = Params(missing, kBytes);
  int32_t score, value;
  EXPECT_EQ(Run(1, &p, score, value), -1);
  EXPECT_LT(score, 0);
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(fs::exists(missing));

  const fs::path shorter = folder / "short.tmp";
  MakeFile(shorter, 2u << 20);
  p = Params(shorter, kBytes);
  EXPECT_EQ(Run(1, &p, score, value), -1);
  EXPECT_LT(score, 0);
  EXPECT_EQ(fs::file_size(shorter), 2u << 20) << "the file was grown";
}

TEST_F(HddTest, SymbolicLinkIsNotFollowed) {
  const fs::path target = folder / "target.tmp";
  const fs::path link = folder / "link.tmp";
  MakeFile(target, kBytes);
  fs::create_symlink(target, link);
  HddScratchParams p = Params(link, kBytes);
  int32_t score, value;
  EXPECT_EQ(Run(1, &p, score, value), -1);
  EXPECT_LT(score, 0);
  FILE* f = std::fopen(target.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  uint64_t head = 1;
  ASSERT_EQ(std::fread(&head, sizeof head, 1, f), 1u);
  std::fclose(f);
  EXPECT_EQ(head, 0u) << "the link's target was written";
}

TEST_F(HddTest, DirectoryIsRefused) {
  HddScratchParams p = Params(folder, kBytes);
  int32_t score, value;
  EXPECT_EQ(Run(0, &p, score, value), -1);
  EXPECT_LT(score, 0);
}

TEST_F(HddTest, BufferedFallbackWritesAndReadsTheFile) {
  const fs::path file = folder / "scratch.tmp";
  MakeFile(file, kBytes);
  HddScratchParams p = Params(file, kBytes);
  for (HddPattern pattern : {HddPattern::kSequentialWrite, HddPattern::kRandomWrite,
                             HddPattern::kSequentialRead, HddPattern::kRandomRead}) {
    HddKernel kernel(p, pattern, 64u << 10);
    kernel.ForceBufferedIo();
    ASSERT_TRUE(kernel.Prepare());
    EXPECT_FALSE(kernel.direct());
    kernel.Reset();
    kernel.Run();
    EXPECT_TRUE(kernel.Verify());
    EXPECT_EQ(kernel.WorkPerRun(), static_cast<double>(kBytes));
  }
  EXPECT_EQ(fs::file_size(file), kBytes);
}

// tmpfs takes O_DIRECT from Linux 6.6 on and refuses it before; either way the test runs.
TEST_F(HddTest, RunsOnTmpfs) {
  if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
  const fs::path shm = MakeFolder("/dev/shm");
  ASSERT_FALSE(shm.empty());
  const fs::path file = shm / "scratch.tmp";
  MakeFile(file, kBytes);
  HddScratchParams p = Params(file, kBytes);
  int32_t score, value;
  EXPECT_EQ(Run(5, &p, score, value), 0);
  EXPECT_GT(value, 0);
  fs::remove_all(shm);
}

}  // namespace
}  // namespace velora::engine
