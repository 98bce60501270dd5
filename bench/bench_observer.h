#pragma once
// What the runner tells its view. Calls arrive on the worker thread (and on the caller's
// thread for the steps of startRun); a widget view must forward them to its GUI thread with
// queued calls and read the record through BenchRunner::Snapshot, never from the worker.

#include <string>

namespace velora {

enum class BarColours { kActive, kGrey };

class BenchObserver {
 public:
  virtual ~BenchObserver() = default;

  // The run buttons and the list tab get enable; with includeStop, "Stop" gets the opposite.
  virtual void RunControlsEnabled(bool /*enable*/, bool /*includeStop*/) {}
  // The scratch-drive and scratch-size lists, and the processor-mask list.
  virtual void OptionListsEnabled(bool /*scratchLists*/, bool /*maskList*/) {}
  // The read-only "Display Mode" and "Font Smoothing" boxes, changed when a full run starts.
  virtual void RunSettingsShown(const std::string& /*displayMode*/,
                                const std::string& /*fontSmoothing*/) {}
  virtual void BarColoursShown(BarColours /*colours*/) {}
  virtual void BarValueShown(int /*test*/, int /*value*/) {}
  virtual void SubTestListCleared() {}
  // Selects the list tab of test, which refills the list from the record.
  virtual void ListTabSelected(int /*test*/) {}
  // The wait cursor (or a progress line) until SubTestShown of the same sub-test.
  virtual void SubTestStarted(int /*test*/, int /*subTest*/) {}
  // Row subTest of test's list, with the values just stored.
  virtual void SubTestShown(int /*test*/, int /*subTest*/, int /*score*/, int /*value*/) {}
  // A sub-test that could not measure; text names the test, the sub-test and the reason.
  virtual void SubTestFailed(int /*test*/, int /*subTest*/, const std::string& /*text*/) {}
  // A message box over the program's name with an OK button.
  virtual void MessageShown(const std::string& /*text*/) {}
  // The end-of-run steps are done; the runner is idle again.
  virtual void RunEnded() {}
};

}  // namespace velora
