// A second start reaches the running program through the socket beside the lock.

#include "app/instance_raise.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <atomic>
#include <fstream>
#include <thread>

#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

// The asking start blocks; the running program answers from its event loop meanwhile.
bool AskWhileServing(const std::string& path) {
  std::atomic<bool> done{false}, answered{false};
  std::thread asker([&] {
    answered = AskRunningInstanceToRaise(path, 3000);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  asker.join();
  return answered;
}

class InstanceRaise : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  testing::TempFolder dir;
  std::string path = RaiseSocketPath(dir.file("Velora09"));
};

TEST_F(InstanceRaise, ASecondStartRaisesTheFirstWindow) {
  int raised = 0;
  RaiseListener listener(path, [&] { ++raised; });
  ASSERT_TRUE(listener.listening());
  EXPECT_TRUE(AskWhileServing(path));
  EXPECT_TRUE(AskWhileServing(path));
  EXPECT_EQ(raised, 2);
}

TEST_F(InstanceRaise, NobodyListeningIsAnsweredAtOnce) {
  EXPECT_FALSE(AskRunningInstanceToRaise(path, 3000));
  EXPECT_FALSE(AskRunningInstanceToRaise("", 3000));
}

TEST_F(InstanceRaise, AStaleSocketOfACrashedRunIsTakenOver) {
  { std::ofstream(path) << "left behind"; }
  int raised = 0;
  RaiseListener listener(path, [&] { ++raised; });
  ASSERT_TRUE(listener.listening());
  EXPECT_TRUE(AskWhileServing(path));
  EXPECT_EQ(raised, 1);
}

TEST_F(InstanceRaise, AnythingButTheRequestRaisesNothing) {
  int raised = 0;
  RaiseListener listener(path, [&] { ++raised; });
  std::atomic<bool> done{false};
  std::thread stranger([&] {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (socket.waitForConnected(3000)) {
      socket.write(QByteArray(4096, 'x'));
      socket.waitForBytesWritten(3000);
      socket.waitForDisconnected(3000);
    }
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  stranger.join();
  EXPECT_EQ(raised, 0);
}

// Another user's socket, as one planted in a shared runtime folder, does not answer for ours.
TEST_F(InstanceRaise, AnotherUsersSocketIsNotAsked) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the socket to another user";
  int raised = 0;
  RaiseListener listener(path, [&] { ++raised; });
  ASSERT_TRUE(listener.listening());
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  EXPECT_FALSE(AskWhileServing(path));
  EXPECT_EQ(raised, 0);
}

}  // namespace
}  // namespace velora
