#include "app/qt_bench_observer.h"

#include "app/pages/mark_page.h"
#include "app/queued_call.h"

namespace velora {

QtBenchObserver::QtBenchObserver(MarkPage& page) : page_(page) {}

template <typename Call>
void QtBenchObserver::Post(Call call) {
  // This object is the context: its destructor removes what has not been delivered.
  QueueCall(this, std::move(call));
}

void QtBenchObserver::RunControlsEnabled(bool enable, bool includeStop) {
  Post([this, enable, includeStop] { page_.setRunControlsEnabled(enable, includeStop); });
}

void QtBenchObserver::OptionListsEnabled(bool scratchLists, bool maskList) {
  Post([this, scratchLists, maskList] { page_.setOptionListsEnabled(scratchLists, maskList); });
}

void QtBenchObserver::RunSettingsShown(const std::string& displayMode,
                                       const std::string& fontSmoothing) {
  Post([this, displayMode, fontSmoothing] { page_.showRunSettings(displayMode, fontSmoothing); });
}

void QtBenchObserver::BarColoursShown(BarColours colours) {
  Post([this, colours] {
    if (colours == BarColours::kActive) {
      page_.showActiveColours();
    } else {
      page_.showGreyColours();
    }
  });
}

void QtBenchObserver::BarValueShown(int test, int value) {
  Post([this, test, value] { page_.setBarValue(test, value); });
}

void QtBenchObserver::SubTestListCleared() {
  Post([this] { page_.clearSubTestList(); });
}

void QtBenchObserver::ListTabSelected(int test) {
  Post([this, test] { page_.selectListTabOfTest(test); });
}

void QtBenchObserver::SubTestStarted(int, int) {
  Post([this] { page_.showBusy(true); });
}

void QtBenchObserver::SubTestShown(int test, int subTest, int, int) {
  // The cells are read from a copy of the record there, like a refill reads them.
  Post([this, test, subTest] {
    page_.showSubTest(test, subTest);
    page_.showBusy(false);
  });
}

void QtBenchObserver::SubTestFailed(int, int, const std::string& text) {
  Post([this, text] { page_.noteFailedSubTest(text); });
}

void QtBenchObserver::MessageShown(const std::string& text) {
  Post([this, text] { page_.showRunMessage(text); });
}

void QtBenchObserver::RunEnded() {
  Post([this] { page_.finishRun(); });
}

}  // namespace velora
