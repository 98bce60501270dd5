#pragma once
// SIGTERM, SIGINT and SIGHUP (a closed terminal) close the program's windows the way the close box does, so a session
// that ends (or a terminal's Ctrl+C) still runs the shutdown steps and ends the log.

#include <QObject>

class QSocketNotifier;

namespace velora {

class TerminationSignal : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignal(QObject* parent = nullptr);
  ~TerminationSignal() override;

 private:
  void onSignal();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velora
