#include "app/queued_call.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/offscreen_application.h"

namespace velora {
namespace {

class QueuedCallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
};

TEST_F(QueuedCallTest, CallsFromAWorkerRunOnTheGuiThreadInTheirOrder) {
  QObject context;
  std::vector<std::string> seen;
  bool allOnGuiThread = true;
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) {
      // A heap-owning capture, so a missing hand-over shows as a race on its buffer.
      std::string text = "call number " + std::to_string(i) + " with a text too long for SSO";
      QueueCall(&context, [&, text] {
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == context.thread();
        seen.push_back(text.substr(0, text.find(" with")));
      });
    }
  });
  // Delivered while the worker still runs: only the hand-over orders its writes before them.
  while (seen.size() < 200) QCoreApplication::processEvents();
  worker.join();
  EXPECT_EQ(seen.front(), "call number 0");
  EXPECT_EQ(seen[117], "call number 117");
  EXPECT_EQ(seen.back(), "call number 199");
  EXPECT_TRUE(allOnGuiThread);
}

TEST_F(QueuedCallTest, DeletingTheContextDropsWaitingCallsAndFreesTheirCaptures) {
  auto context = std::make_unique<QObject>();
  auto payload =
      std::make_shared<std::string>("held by the waiting calls, long enough for the heap");
  int runs = 0;
  // Relaxed on purpose: these flags must not order anything, so that the captures' destruction
  // on this thread is ordered only by the hand-over while the worker is still alive.
  std::atomic<bool> posted{false}, dropped{false};
  QObject* target = context.get();
  std::thread worker([&, target] {
    for (int i = 0; i < 3; ++i) QueueCall(target, [&runs, held = payload] { ++runs; });
    posted.store(true, std::memory_order_relaxed);
    while (!dropped.load(std::memory_order_relaxed)) std::this_thread::yield();
  });
  while (!posted.load(std::memory_order_relaxed)) std::this_thread::yield();
  context.reset();
  const long left = payload.use_count();
  dropped.store(true, std::memory_order_relaxed);
  worker.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(left, 1);
}

TEST_F(QueuedCallTest, ACallQueuedOnTheGuiThreadItselfWaitsForTheEventLoop) {
  QObject context;
  int runs = 0;
  // The call queues a second one from inside the delivery, with the hand-over lock released.
  QueueCall(&context, [&] {
    ++runs;
    QueueCall(&context, [&] { ++runs; });
  });
  EXPECT_EQ(runs, 0);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace velora
