#include "app/instance_raise.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

namespace velora {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "raised\n";
// A request longer than this is not ours.
constexpr qint64 kMaxRequest = 64;

}  // namespace

std::string RaiseSocketPath(const std::string& lockPath) {
  return lockPath.empty() ? std::string() : lockPath + ".raise";
}

RaiseListener::RaiseListener(const std::string& socketPath, std::function<void()> raise,
                             QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), raise_(std::move(raise)) {
  if (socketPath.empty()) return;
  const QString path = QString::fromStdString(socketPath);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // Whoever holds the instance lock owns this name: a socket left by a crashed run is stale.
  QLocalServer::removeServer(path);
  if (!server_->listen(path)) return;
  connect(server_, &QLocalServer::newConnection, this, &RaiseListener::answer);
}

bool RaiseListener::listening() const { return server_->isListening(); }

void RaiseListener::answer() {
  while (QLocalSocket* client = server_->nextPendingConnection()) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, this, [this, client] {
      if (!client->canReadLine()) {
        if (client->bytesAvailable() > kMaxRequest) client->abort();
        return;
      }
      const QByteArray line = client->readLine(kMaxRequest);
      if (line == kRequest) {
        if (raise_) raise_();
        client->write(kAnswer);
        client->flush();
      }
      client->disconnectFromServer();
    });
  }
}

bool AskRunningInstanceToRaise(const std::string& socketPath, int timeoutMs) {
  if (socketPath.empty()) return false;
  // Only a socket of our own answers for our program; another user's would keep us from
  // starting.
  struct stat info {};
  if (lstat(socketPath.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
      info.st_uid != geteuid()) {
    return false;
  }
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(socketPath));
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kRequest);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine(kMaxRequest) == kAnswer;
}

}  // namespace velora
