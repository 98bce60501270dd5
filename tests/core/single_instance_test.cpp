#include "core/single_instance.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "tests/support/temp_folder.h"

extern char** environ;

namespace velora {
namespace {

using testing::TempFolder;

TEST(SingleInstance, SecondGuardIsRefusedWhileTheFirstHoldsTheLock) {
  TempFolder dir;
  SingleInstanceGuard first(dir.file("Velora09"));
  ASSERT_TRUE(first.Acquire());
  SingleInstanceGuard second(dir.file("Velora09"));
  EXPECT_FALSE(second.Acquire());
  EXPECT_FALSE(second.held());
  first.Release();
  EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstance, LockEndsWithItsGuard) {
  TempFolder dir;
  {
    SingleInstanceGuard first(dir.file("Velora09"));
    ASSERT_TRUE(first.Acquire());
  }
  SingleInstanceGuard again(dir.file("Velora09"));
  EXPECT_TRUE(again.Acquire());
}

TEST(SingleInstance, LockFileLivesInTheRuntimeFolderOrInTmpWithTheUserId) {
  TempFolder dir;
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  std::string savedValue = saved != nullptr ? saved : "";
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  EXPECT_EQ(InstanceLockPath(), dir.path() + "/Velora09");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLockPath(), "/tmp/velora-" + std::to_string(geteuid()) + "/Velora09");
  if (saved != nullptr) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

// A runtime folder that others may enter, or that is another user's, is not where our lock
// and raise socket go: the private folder in /tmp is.
TEST(SingleInstance, ASharedRuntimeFolderIsPassedOver) {
  TempFolder dir;
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  const std::string fallback = "/tmp/velora-" + std::to_string(geteuid()) + "/Velora09";
  const std::string shared = dir.file("shared"), link = dir.file("link");
  ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
  ASSERT_EQ(symlink(shared.c_str(), link.c_str()), 0);
  for (const mode_t mode : {01777, 0755, 0770}) {
    ASSERT_EQ(chmod(shared.c_str(), mode), 0);
    setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
    EXPECT_EQ(InstanceLockPath(), fallback) << std::oct << mode;
  }
  ASSERT_EQ(chmod(shared.c_str(), 0700), 0);
  setenv("XDG_RUNTIME_DIR", link.c_str(), 1);
  EXPECT_EQ(InstanceLockPath(), fallback) << "a link";
  if (geteuid() == 0) {
    ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
    setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
    EXPECT_EQ(InstanceLockPath(), fallback) << "another user's";
  }
  if (saved != nullptr) {
    setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
}

// The program itself, started while this test holds its lock: it must end at once with exit
// code 0, without a window and without touching its log.
TEST(SingleInstance, SecondProgramEndsAtOnceWithoutALogLine) {
  TempFolder runtime, program;
  std::filesystem::copy_file(VELORA_BIN_DIR "/velora09", program.file("velora09"));
  std::filesystem::copy_file(VELORA_BIN_DIR "/libvelora09.so", program.file("libvelora09.so"));
  std::filesystem::permissions(program.file("velora09"), std::filesystem::perms::owner_all);
  testing::WriteText(program.file("velora09.log"), "first instance's log\n");

  SingleInstanceGuard first(runtime.file("Velora09"));
  ASSERT_TRUE(first.Acquire());

  std::string runtimeEnv = "XDG_RUNTIME_DIR=" + runtime.path();
  std::vector<char*> env{const_cast<char*>(runtimeEnv.c_str()),
                         const_cast<char*>("QT_QPA_PLATFORM=offscreen"), nullptr};
  std::string exe = program.file("velora09");
  char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, env.data()), 0);
  int status = 0;
  // A program that wrongly opened its window would never end: give it a bound.
  pid_t ended = 0;
  for (int i = 0; i < 300 && ended == 0; ++i) {
    ended = waitpid(pid, &status, WNOHANG);
    if (ended == 0) usleep(100 * 1000);
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the second program kept running";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(testing::ReadText(program.file("velora09.log")), "first instance's log\n");
  EXPECT_FALSE(std::filesystem::exists(program.file("velora09.ini")));
}

TEST(SingleInstance, APrivateFolderPlantedByAnotherUserIsRefused) {
  TempFolder dir;
  const std::string mine = dir.path() + "/velora-" + std::to_string(geteuid());
  // Made by us: private, and ours.
  ASSERT_EQ(PrivateFolder(dir.path()), mine);
  struct stat info {};
  ASSERT_EQ(stat(mine.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  // Opened up to others, or a link in its place: refused.
  ASSERT_EQ(chmod(mine.c_str(), 0777), 0);
  EXPECT_EQ(PrivateFolder(dir.path()), "");
  ASSERT_EQ(rmdir(mine.c_str()), 0);
  ASSERT_EQ(mkdir((dir.path() + "/elsewhere").c_str(), 0700), 0);
  ASSERT_EQ(symlink((dir.path() + "/elsewhere").c_str(), mine.c_str()), 0);
  EXPECT_EQ(PrivateFolder(dir.path()), "");
  ASSERT_EQ(unlink(mine.c_str()), 0);
  if (geteuid() == 0) {
    // Owned by someone else, as another user would plant it before us.
    ASSERT_EQ(mkdir(mine.c_str(), 0700), 0);
    ASSERT_EQ(chown(mine.c_str(), 65534, 65534), 0);
    EXPECT_EQ(PrivateFolder(dir.path()), "");
  }
  // Without a safe place the program runs unguarded rather than not at all.
  SingleInstanceGuard guard("");
  EXPECT_TRUE(guard.Acquire());
}

}  // namespace
}  // namespace velora
