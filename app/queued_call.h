#pragma once
// Queues a call onto the thread of a QObject from any other thread.
//
// Qt hands the call over through its own futex-based locks, which ThreadSanitizer cannot see, so
// it would take the worker's writes of the captured values and the GUI thread's reads of them for
// a race. A mutex of ours around the hand-over makes the ordering visible: the poster holds it
// while Qt stores the call, and the receiver takes it before touching the call, both when it runs
// the call and when Qt drops it undelivered. It is recursive because the poster destroys its own
// moved-from copies of the call while it holds it.

#include <QObject>

#include <mutex>
#include <utility>

namespace velora {

namespace queued_call_detail {

inline std::recursive_mutex& HandOverMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

template <typename Call>
class HandedOver {
 public:
  explicit HandedOver(Call call) : call_(std::move(call)) {}
  HandedOver(const HandedOver&) = default;
  HandedOver(HandedOver&&) = default;
  // Runs before the members are destroyed, so the receiver's destruction is ordered too.
  ~HandedOver() { std::lock_guard<std::recursive_mutex> lock(HandOverMutex()); }

  void operator()() {
    { std::lock_guard<std::recursive_mutex> lock(HandOverMutex()); }
    call_();
  }

 private:
  Call call_;
};

}  // namespace queued_call_detail

// Deleting context drops the calls still waiting; they run in the order they were queued.
template <typename Call>
void QueueCall(QObject* context, Call call) {
  std::lock_guard<std::recursive_mutex> lock(queued_call_detail::HandOverMutex());
  QMetaObject::invokeMethod(context, queued_call_detail::HandedOver<Call>(std::move(call)),
                            Qt::QueuedConnection);
}

}  // namespace velora
