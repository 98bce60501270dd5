#pragma once
// The screen's mode as the run records it. The worker asks for it while tests run, but a
// QScreen may only be read on the GUI thread: the GUI thread keeps a copy up to date from the
// screen's signals, and the worker reads the copy.

#include <QObject>
#include <mutex>

#include "bench/bench_result.h"

class QScreen;

namespace velora {

class ScreenStateCache : public QObject {
  Q_OBJECT

 public:
  // Follows the primary screen; GUI thread only.
  explicit ScreenStateCache(QObject* parent = nullptr);

  // Any thread: width, height and depth of the screen in pixels, and the font smoothing type
  // read now.
  DisplayState Current() const;
  // GUI thread: takes the screen's mode again.
  void Refresh();

 private:
  void Follow(QScreen* screen);

  mutable std::mutex mutex_;
  DisplayState screen_;
  QScreen* followed_ = nullptr;
};

}  // namespace velora
