// The velora-ranking program itself: it serves, stops cleanly on SIGTERM, and a new run finds
// the entries of the last.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
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

  // As a crash or a power cut would: no chance to finish anything.
  void Kill() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
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

// Registrations from several clients, each remembered with its user when answered with a number.
class Burst {
 public:
  struct Acknowledged {
    int32_t number;
    std::string user;
    int service;
  };

  // Posts from `clients` threads to `url` until Stop (at most `each` posts a thread).
  void Start(const std::string& url, int service, int clients, int each) {
    for (int t = 0; t < clients; ++t) {
      threads_.emplace_back([this, url, service, t, each] {
        for (int i = 0; i < each && !stop_; ++i) {
          const std::string user = "s" + std::to_string(service) + "r" + std::to_string(round_) +
                                   "t" + std::to_string(t) + "i" + std::to_string(i);
          const PostOutcome outcome = PostForm(Sample(user).Body(), url, kRegisterPath, kAgentName);
          if (outcome.reply > 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            acknowledged_.push_back({outcome.reply, user, service});
          }
        }
      });
    }
  }
  // True once `count` posts of this round were answered, within a bounded wait.
  bool WaitFor(size_t count) {
    for (int i = 0; i < 1200; ++i) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (acknowledged_.size() >= before_ + count) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  void Finish() {
    stop_ = true;
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
    stop_ = false;
    ++round_;
    before_ = acknowledged_.size();
  }
  const std::vector<Acknowledged>& acknowledged() const { return acknowledged_; }

 private:
  std::vector<std::thread> threads_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Acknowledged> acknowledged_;
  size_t before_ = 0;
  int round_ = 0;
};

bool Lists(const std::string& url, const Burst::Acknowledged& entry) {
  const Fetched fetched = Fetch(url + "/api/entries/" + std::to_string(entry.number));
  return fetched.status == 200 &&
         fetched.body.find("\"user_name\":\"" + entry.user + "\"") != std::string::npos;
}

TEST(ServiceProgram, KillDuringABurstLosesNothingAcknowledged) {
  TempFolder folder;
  const std::string database = FreshDatabase(folder, "ranking.sqlite");
  const std::string logPath = folder.file("service.log");
  Burst burst;
  for (int round = 0; round < 2; ++round) {
    Program program(database, logPath);
    ASSERT_TRUE(program.WaitUntilServing()) << ReadText(logPath);
    burst.Start(program.url(), 0, 4, 100);
    const bool answered = burst.WaitFor(6);
    program.Kill();  // in the middle of the burst: four posts are under way
    burst.Finish();
    ASSERT_TRUE(answered) << ReadText(logPath);
  }
  Program after(database, logPath);
  ASSERT_TRUE(after.WaitUntilServing()) << ReadText(logPath);
  std::set<int32_t> numbers;
  for (const Burst::Acknowledged& entry : burst.acknowledged()) {
    EXPECT_TRUE(Lists(after.url(), entry)) << entry.number << " " << entry.user;
    numbers.insert(entry.number);
  }
  EXPECT_EQ(numbers.size(), burst.acknowledged().size());
}

// Two services behind one load balancer, on one PostgreSQL database.
TEST(TwoServices, NumberUniquelyAndShowEachOthersEntries) {
  if (!OnPostgres()) GTEST_SKIP() << "PostgreSQL only; the server_postgres test runs it";
  TempFolder folder;
  const std::string database = FreshDatabase(folder, "unused");
  Program first(database, folder.file("first.log")), second(database, folder.file("second.log"));
  ASSERT_TRUE(first.WaitUntilServing()) << ReadText(folder.file("first.log"));
  ASSERT_TRUE(second.WaitUntilServing()) << ReadText(folder.file("second.log"));
  Burst burst;
  burst.Start(first.url(), 1, 3, 5);
  burst.Start(second.url(), 2, 3, 5);
  EXPECT_TRUE(burst.WaitFor(30));
  burst.Finish();
  ASSERT_EQ(burst.acknowledged().size(), 30u);
  std::set<int32_t> numbers;
  for (const Burst::Acknowledged& entry : burst.acknowledged()) {
    numbers.insert(entry.number);
    // Each service lists the entries the other took.
    EXPECT_TRUE(Lists(entry.service == 1 ? second.url() : first.url(), entry)) << entry.user;
  }
  EXPECT_EQ(numbers.size(), 30u);
  EXPECT_EQ(*numbers.rbegin(), 30);
  EXPECT_NE(Fetch(first.url() + "/api/entries").body.find("\"total\":30"), std::string::npos);
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
