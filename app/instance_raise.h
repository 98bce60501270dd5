#pragma once
// A later start of the program asks the running one to bring its window to the front, through
// a local socket beside the instance lock (a folder only this user can enter).

#include <QObject>
#include <functional>
#include <string>

class QLocalServer;

namespace velora {

// Beside the lock file; empty when there is no lock path.
std::string RaiseSocketPath(const std::string& lockPath);

// Held by the running program: every "raise" request calls raise() and is answered.
class RaiseListener : public QObject {
  Q_OBJECT

 public:
  RaiseListener(const std::string& socketPath, std::function<void()> raise,
                QObject* parent = nullptr);
  bool listening() const;

 private:
  void answer();

  QLocalServer* server_;
  std::function<void()> raise_;
};

// Asks the running program to raise its window; true when it says it did.
bool AskRunningInstanceToRaise(const std::string& socketPath, int timeoutMs = 2000);

}  // namespace velora
