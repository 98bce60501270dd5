// The velora-ranking program itself: it serves, stops cleanly on SIGTERM, and a new run finds
// the entries of the last.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ranking/ranking_post.h"
#include "tests/server/sample_registration.h"
#include "tests/server/service_fixture.h"
#include "tests/support/local_http_server.h"
#include "tests/support/temp_folder.h"

namespace velora::testing {
namespace {

class Program {
 public:
  Program(const std::string& database, const std::string& logPath) {
    port_ = RefusingPort();
    const std::string listen = "127.0.0.1:" + std::to_string(port_);
    pid_ = fork();
    if (pid_ == 0) {
      freopen(logPath.c_str(), "a", stderr);
      const std::string program = std::string(VELORA_BIN_DIR) + "/velora-ranking";
      execl(program.c_str(), program.c_str(), "--listen", listen.c_str(), "--db", database.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // True once the program answers; it needs a moment to open its database and listen.
  bool WaitUntilServing() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Fetch(url() + "/api/entries").status == 200) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // The exit status after SIGTERM; -1 when it did not exit normally.
  int Terminate() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  int port_ = 0;
  pid_t pid_ = -1;
};

TEST(ServiceProgram, StopsCleanlyOnSigtermAndKeepsItsEntries) {
  TempFolder folder;
  const std::string database = folder.file("data/ranking.sqlite");
  const std::string logPath = folder.file("service.log");
  {
    Program program(database, logPath);
    ASSERT_TRUE(program.WaitUntilServing()) << ReadText(logPath);
    EXPECT_EQ(PostForm(Sample("Taro").Body(), program.url(), kRegisterPath, kAgentName).reply, 1);
    EXPECT_EQ(program.Terminate(), 0);
  }
  const std::string log = ReadText(logPath);
  EXPECT_NE(log.find("signal 15, stopping"), std::string::npos) << log;
  EXPECT_NE(log.find(" stopped"), std::string::npos) << log;

  Program again(database, logPath);
  ASSERT_TRUE(again.WaitUntilServing()) << ReadText(logPath);
  EXPECT_EQ(Fetch(again.url() + "/Velora/09/ranking.php?ID=1").status, 200);
  EXPECT_EQ(PostForm(Sample("Jiro").Body(), again.url(), kRegisterPath, kAgentName).reply, 2);
  EXPECT_EQ(again.Terminate(), 0);
}

TEST(ServiceProgram, ExitsAtOnceWhenItsAddressIsInUse) {
  TempFolder folder;
  LocalHttpServer holder("");
  const std::string listen = "127.0.0.1:" + std::to_string(holder.port());
  const std::string logPath = folder.file("service.log");
  const pid_t pid = fork();
  if (pid == 0) {
    freopen(logPath.c_str(), "a", stderr);
    const std::string program = std::string(VELORA_BIN_DIR) + "/velora-ranking";
    execl(program.c_str(), program.c_str(), "--listen", listen.c_str(), "--db",
          folder.file("ranking.sqlite").c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // It must not be serving: it ends by itself, and a bounded wait finds it ended.
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 300 && ended == 0; ++i) {
    ended = waitpid(pid, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  EXPECT_EQ(ended, pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  const std::string log = ReadText(logPath);
  EXPECT_NE(log.find("cannot listen on " + listen + ": Address already in use"), std::string::npos)
      << log;
}

}  // namespace
}  // namespace velora::testing
