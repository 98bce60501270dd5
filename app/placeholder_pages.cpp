#include "app/placeholder_pages.h"

#include "bench/linked_bench_engine.h"

namespace velora {

std::unique_ptr<Page> MakePage(int tabIndex) {
  // The engine library holds no state of its own; one binding serves every window.
  static LinkedBenchEngine engine;
  switch (tabIndex) {
    case 0: return std::make_unique<MarkPage>(engine);
    case 1: return std::make_unique<RankingPage>();
    case 2: return std::make_unique<SystemPage>();
    case 3: return std::make_unique<CpuPage>();
    case 4: return std::make_unique<FeaturePage>();
    case 5: return std::make_unique<DevicePage>();
    case 6: return std::make_unique<PciPage>();
    case 7: return std::make_unique<DiskPage>();
    case 8: return std::make_unique<DllPage>();
    case 9: return std::make_unique<InfoPage>();
    case 10: return std::make_unique<BackPage>();
    default: return nullptr;
  }
}

}  // namespace velora
