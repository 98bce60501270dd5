#include "core/app_log.h"

#include <unistd.h>

#include <thread>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadLines;
using testing::TempFolder;
using testing::WriteText;

TEST(AppLog, FirstLineOfARunReplacesTheOldLog) {
  TempFolder dir;
  std::string path = dir.file("velora09.log");
  WriteText(path, "line of the last run\n");
  AppLog log(path);
  log.Write("Velora Execute Start");
  log.Write("Velora Initialize Start");
  EXPECT_EQ(ReadLines(path),
            (std::vector<std::string>{"Velora Execute Start", "Velora Initialize Start"}));
}

TEST(AppLog, LinesOfTwoThreadsStayWhole) {
  TempFolder dir;
  std::string path = dir.file("t.log");
  AppLog log(path);
  log.Write("first");
  std::string a(200, 'a'), b(200, 'b');
  std::thread other([&] {
    for (int i = 0; i < 200; ++i) log.Write(b);
  });
  for (int i = 0; i < 200; ++i) log.Write(a);
  other.join();
  std::vector<std::string> lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 401u);
  EXPECT_EQ(lines[0], "first");
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(lines[i] == a || lines[i] == b) << i;
}

// A link planted where the log goes, before the run or during it, is never written through.
TEST(AppLog, PlantedLinksAreNeverFollowed) {
  TempFolder dir;
  const std::string path = dir.file("velora09.log");
  const std::string victim = dir.file("victim");
  WriteText(victim, "someone's data\n");
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  AppLog log(path);
  log.Write("first");
  ASSERT_EQ(unlink(path.c_str()), 0);
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  log.Write("second");
  EXPECT_EQ(ReadLines(victim), (std::vector<std::string>{"someone's data"}));
}

}  // namespace
}  // namespace velora
