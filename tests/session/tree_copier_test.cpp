#include "session/tree_copier.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "session/new_files.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

// A small machine: a block device reached through a relative link, links leading out of the
// tree (climbing above it, or absolute), a FIFO, and two links naming each other.
class TreeCopierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = folder.file("machine");
    copy = folder.file("copy");
    WriteText(source + "/sys/devices/pci0/blk/sda/size", "100\n");
    WriteText(source + "/sys/devices/pci0/blk/sda/device/model", "Disk\n");
    const timespec times[2] = {{0, UTIME_OMIT}, {1500000000, 0}};  // 2017-07-14
    utimensat(AT_FDCWD, (source + "/sys/devices/pci0/blk/sda/size").c_str(), times, 0);
    WriteText(folder.file("outside/secret"), "not ours\n");
    fs::create_directories(source + "/sys/block");
    fs::create_symlink("../devices/pci0/blk/sda", source + "/sys/block/sda");
    fs::create_symlink("../../../outside", source + "/sys/block/climb");
    fs::create_symlink(folder.file("outside"), source + "/sys/block/absolute");
    fs::create_symlink("second", source + "/sys/first");
    fs::create_symlink("first", source + "/sys/second");
    ASSERT_EQ(mkfifo((source + "/sys/fifo").c_str(), 0644), 0);
    fs::create_directories(copy);
  }

  std::string Link(const std::string& path) {
    std::error_code ec;
    return fs::read_symlink(copy + path, ec).string();
  }

  TempFolder folder;
  std::string source, copy;
};

TEST_F(TreeCopierTest, CopiesWhatIsAskedKeepingLinksAndRefusesTheRest) {
  struct Case {
    const char* path;
    bool copied;
    const char* file;  // in the copy, its content expected; nullptr: nothing written
    const char* content;
  };
  const Case cases[] = {
      {"/sys/block/sda/size", true, "/sys/devices/pci0/blk/sda/size", "100\n"},
      {"/sys/block/sda/device/../device/model", true, "/sys/devices/pci0/blk/sda/device/model",
       "Disk\n"},
      {"/sys/block/sda/missing", false, nullptr, nullptr},
      {"/sys/block/climb/secret", false, "/sys/block/climb", nullptr},
      {"/sys/block/absolute/secret", false, "/sys/block/absolute", nullptr},
      {"/sys/fifo", false, "/sys/fifo", nullptr},
      {"/sys/first/x", false, nullptr, nullptr},
      {"/sys/block/sda/size/more", false, nullptr, nullptr},
      {"/../../outside/secret", false, "/outside", nullptr},
  };
  TreeCopier copier(source, copy);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(copier.Copy(c.path), c.copied);
    if (c.file == nullptr) continue;
    std::error_code ec;
    if (c.content != nullptr) {
      EXPECT_EQ(ReadText(copy + c.file), c.content);
    } else {
      EXPECT_FALSE(fs::exists(fs::symlink_status(copy + c.file, ec)));
    }
  }
  EXPECT_EQ(Link("/sys/block/sda"), "../devices/pci0/blk/sda");
  struct stat st {};
  ASSERT_EQ(stat((copy + "/sys/devices/pci0/blk/sda/size").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1500000000);
  EXPECT_EQ(copier.filesCopied(), 2u);
  EXPECT_TRUE(copier.writeError().empty());
  // Nothing outside the copy was reached.
  EXPECT_FALSE(fs::exists(copy + "/outside"));
}

TEST_F(TreeCopierTest, ListsFoldersThroughLinksAndTellsWhereAPathLeads) {
  TreeCopier copier(source, copy);
  EXPECT_EQ(copier.List("/sys/block"),
            (std::vector<std::string>{"absolute", "climb", "sda"}));
  EXPECT_EQ(copier.List("/sys/block/sda"), (std::vector<std::string>{"device", "size"}));
  EXPECT_TRUE(copier.List("/sys/fifo").empty());
  EXPECT_EQ(copier.Reached("/sys/block/sda/device"), "/sys/devices/pci0/blk/sda/device");
  EXPECT_EQ(copier.Reached("/sys/block/climb"), std::nullopt);
  EXPECT_TRUE(fs::is_directory(copy + "/sys/devices/pci0/blk/sda/device"));
}

TEST_F(TreeCopierTest, AnEditChangesOrLeavesOutTheFile) {
  TreeCopier copier(source, copy);
  std::string copied;
  EXPECT_TRUE(copier.Copy(
      "/sys/block/sda/size", [](std::string) -> std::optional<std::string> { return "7\n"; },
      &copied));
  EXPECT_EQ(copied, "7\n");
  EXPECT_FALSE(copier.Copy("/sys/block/sda/device/model",
                           [](std::string) -> std::optional<std::string> { return std::nullopt; }));
  EXPECT_EQ(ReadText(copy + "/sys/devices/pci0/blk/sda/size"), "7\n");
  EXPECT_FALSE(fs::exists(copy + "/sys/devices/pci0/blk/sda/device/model"));
}

TEST(NewFiles, NeverReplaceAndLeaveNoTemporaryBehind) {
  TempFolder folder;
  std::string error;
  const std::string path = folder.file("cpuid.txt");
  ASSERT_TRUE(WriteNewFile(path, "first", error)) << error;
  EXPECT_FALSE(WriteNewFile(path, "second", error));
  EXPECT_NE(error.find("cpuid.txt"), std::string::npos);
  EXPECT_EQ(ReadText(path), "first");
  EXPECT_FALSE(WriteNewFile(folder.file("missing/file"), "x", error));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 1u);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777 & ~0022u, 0644u & ~0022u);
  // A link is no folder to write in.
  fs::create_symlink(folder.path(), folder.file("link"));
  EXPECT_FALSE(MakeFolder(folder.file("link"), error));
  EXPECT_TRUE(MakeFolder(folder.file("made"), error));
  EXPECT_TRUE(MakeFolder(folder.file("made"), error));
}

}  // namespace
}  // namespace velora
