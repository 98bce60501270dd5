// Reading files a user names or another user may have planted: what is read, what is refused,
// and why; never a wait on a FIFO nor a read without end.

#include "platform/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;

TEST(RegularFile, ReadsRegularFilesWithinTheLimitAndRefusesEverythingElse) {
  TempFolder dir;
  WriteText(dir.file("small"), std::string("a\0b", 3));
  WriteText(dir.file("ten"), std::string(10, 'x'));
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink(dir.file("small").c_str(), dir.file("link").c_str()), 0);
  // A sparse file: its size is what counts, not what it takes on the disk.
  ASSERT_EQ(truncate(dir.file("ten").c_str(), 1 << 20), 0);
  struct Case {
    std::string path;
    bool followLinks;
    const char* error;  // nullptr: read
  };
  const Case cases[] = {
      {dir.file("small"), true, nullptr},
      {dir.file("link"), true, nullptr},
      {dir.file("link"), false, "is a symbolic link"},
      {dir.file("fifo"), true, "is not a regular file (a device, pipe or socket)"},
      {"/dev/zero", true, "is not a regular file (a device, pipe or socket)"},
      {dir.path(), true, "is a folder"},
      {dir.file("ten"), true, "is larger than 64 KB"},
      {dir.file("missing"), true, "No such file or directory"},
  };
  for (const Case& c : cases) {
    const FileBytes file = ReadRegularFile(c.path, 64 * 1024, c.followLinks);
    EXPECT_EQ(file.ok, c.error == nullptr) << c.path;
    EXPECT_EQ(file.error, c.error == nullptr ? "" : c.error) << c.path;
    if (file.ok) {
      EXPECT_EQ(file.bytes, std::string("a\0b", 3)) << c.path;
    }
  }
}

TEST(RegularFile, OpenedDescriptorReadsInBlockingMode) {
  TempFolder dir;
  WriteText(dir.file("f"), "abc");
  std::string error;
  EXPECT_LT(OpenRegularFile(dir.file("f") + "/", error), 0);
  EXPECT_LT(OpenRegularFile("/dev/null", error), 0);
  EXPECT_EQ(error, "is not a regular file (a device, pipe or socket)");
  const int fd = OpenRegularFile(dir.file("f"), error);
  ASSERT_GE(fd, 0) << error;
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  close(fd);
}

}  // namespace
}  // namespace velora
