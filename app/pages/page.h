#pragma once
// A page of the main window: one tab with its caption. Pages are created in a fixed order and
// may read the pages created before them.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/pages/pages_model.h"
#include "bench/bench_engine.h"
#include "core/app_log.h"
#include "core/message_sink.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "probe/probe_object.h"
#include "session/machine_access.h"

namespace velora {

class Skin;

// What a page is given when it is created. Any pointer may be null (no probe library, a test
// without a window).
struct PageContext {
  ProbeObject* probe = nullptr;    // held only while the pages are made
  ProbeBinding* probes = nullptr;  // to load the probe library again later
  BenchEngine* engine = nullptr;
  const Settings* settings = nullptr;
  MessageSink* messages = nullptr;
  const PagesModel* pages = nullptr;  // the pages created before this one
  AppLog* log = nullptr;
  std::function<uint32_t()> startupFlags{};  // asked when a page needs them
  Skin* skin = nullptr;                      // the window's skin; it dresses every page itself
  // The machine the pages show: this one, or a recording (the page set's own live one when
  // null).
  MachineAccess* machine = nullptr;
};

// Whether a window shows a recording: its benchmark stays off and nothing it holds is sent.
inline bool ShowsRecording(const PageContext& context) {
  return context.machine != nullptr && context.machine->replaying();
}

class Page : public QWidget {
  Q_OBJECT

 public:
  Page(int tabIndex, QWidget* parent = nullptr);

  int tabIndex() const { return tabIndex_; }
  QString caption() const;
  int templateId() const;

  // Runs once, when the page is created under the tab control.
  virtual void initialise(const PageContext& context);
  // The collector's data has arrived: show it (System, Device and Disk pages).
  virtual void refreshFromCollector() {}
  // The interface language changed: rebuild the texts chosen by it.
  virtual void refreshLanguage() {}

 private:
  int tabIndex_;
};

}  // namespace velora
