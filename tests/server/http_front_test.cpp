// The front alone, with handlers the test controls: the bounded queue, abandoned requests and
// requests that never finish arriving.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "server/http_front.h"
#include "tests/server/raw_http.h"

namespace velora::testing {
namespace {

using namespace velora::server;

// A handler that holds its worker until released, so the queue behind it fills.
class HeldHandler {
 public:
  HttpReply operator()(const HttpRequest& request) {
    std::unique_lock<std::mutex> lock(mutex_);
    served_.push_back(request.path);
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
    HttpReply reply;
    reply.body = request.path;
    return reply;
  }
  void WaitForServed(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return served_.size() >= count; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  std::vector<std::string> served() {
    std::lock_guard<std::mutex> lock(mutex_);
    return served_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> served_;
  bool released_ = false;
};

std::string Get(const std::string& path) {
  return "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
}

class FrontTest : public ::testing::Test {
 protected:
  void Start(FrontOptions options) {
    front_ = std::make_unique<HttpFront>(options);
    std::string problem;
    ASSERT_TRUE(front_->Listen({"127.0.0.1", 0}, problem)) << problem;
    front_->Start([this](const HttpRequest& request) { return held_(request); },
                  [this](Refusal why, const HttpRequest&) {
                    std::lock_guard<std::mutex> lock(refusalsMutex_);
                    refusals_.push_back(why);
                    HttpReply reply;
                    reply.status = why == Refusal::kBusy ? 503 : 400;
                    reply.headers.emplace_back("Retry-After", "5");
                    return reply;
                  });
  }
  void TearDown() override {
    held_.Release();
    front_.reset();
  }

  HeldHandler held_;
  std::mutex refusalsMutex_;
  std::vector<Refusal> refusals_;  // written by the front's threads, read after it stops
  std::unique_ptr<HttpFront> front_;
};

TEST_F(FrontTest, AFullQueueIsAnswered503AndAnAbandonedRequestIsDropped) {
  FrontOptions options;
  options.workers = 1;
  options.queueLength = 1;
  Start(options);
  const int port = front_->port();
  std::string first;
  std::thread holding([&] { first = Exchange(port, Get("/first")); });
  held_.WaitForServed(1);  // the one worker is busy with /first
  // /gone waits in the queue, and its client leaves before a worker is free.
  const int gone = ConnectLoopback(port);
  const std::string request = Get("/gone");
  send(gone, request.data(), request.size(), MSG_NOSIGNAL);
  for (int tries = 0; tries < 2000 && front_->queued() == 0; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(front_->queued(), 1u);
  const std::string busy = Exchange(port, Get("/busy"));
  EXPECT_NE(busy.find("HTTP/1.1 503 "), std::string::npos) << busy;
  EXPECT_NE(busy.find("Retry-After: 5\r\n"), std::string::npos);
  close(gone);
  held_.Release();
  holding.join();
  EXPECT_NE(first.find("HTTP/1.1 200 "), std::string::npos) << first;
  // After the jam clears, requests are served again; until the front has noticed that /gone's
  // client left, /gone may still hold the one place in the queue.
  std::string after;
  for (int tries = 0; tries < 400 && after.find("\r\n\r\n/after") == std::string::npos; ++tries) {
    if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    after = Exchange(port, Get("/after"));
  }
  EXPECT_NE(after.find("\r\n\r\n/after"), std::string::npos) << after;
  front_->Stop();
  EXPECT_EQ(held_.served(), (std::vector<std::string>{"/first", "/after"}));
  EXPECT_EQ(std::count(refusals_.begin(), refusals_.end(), Refusal::kAbandoned), 1);
}

TEST_F(FrontTest, AHeadThatNeverEndsIsCutOffAtItsDeadline) {
  FrontOptions options;
  options.requestSeconds = 1;
  Start(options);
  held_.Release();
  // Bytes keep coming, but the head's deadline counts from its first byte, not from the last.
  const int s = ConnectLoopback(front_->port());
  std::string reply;
  for (int i = 0; i < 100 && reply.empty(); ++i) {
    send(s, "X", 1, MSG_NOSIGNAL);
    reply = ReadReply(s, 100);
  }
  close(s);
  EXPECT_NE(reply.find("HTTP/1.1 400 "), std::string::npos) << reply;
  front_->Stop();
  EXPECT_EQ(refusals_, std::vector<Refusal>{Refusal::kLate});
  EXPECT_TRUE(held_.served().empty());
}

}  // namespace
}  // namespace velora::testing
