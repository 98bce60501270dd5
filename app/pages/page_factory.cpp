#include "app/pages/page_factory.h"

#include "app/pages/back_page.h"
#include "app/pages/cpu_page.h"
#include "app/pages/device_page.h"
#include "app/pages/disk_page.h"
#include "app/pages/dll_page.h"
#include "app/pages/feature_page.h"
#include "app/pages/info_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/pci_page.h"
#include "app/pages/ranking_page.h"
#include "app/pages/system_page.h"
#include "core/main_window_model.h"

namespace velora {

std::unique_ptr<Page> MakePage(int tabIndex, BenchEngine& engine) {
  if (tabIndex < 0 || tabIndex >= kPageCount) return nullptr;
  switch (tabIndex) {
    case 0: return std::make_unique<MarkPage>(engine);
    case 1: return std::make_unique<RankingPage>();
    case 2: return std::make_unique<SystemPage>();
    case 3: return std::make_unique<CpuPage>();
    case 4: return std::make_unique<FeaturePage>();
    case 5: return std::make_unique<DevicePage>();
    case 6: return std::make_unique<PciPage>();
    case 7: return std::make_unique<DiskPage>();
    case 9: return std::make_unique<InfoPage>();
    case 8: return std::make_unique<DllPage>();
    case 10: return std::make_unique<BackPage>();
    default: return std::make_unique<Page>(tabIndex);
  }
}

}  // namespace velora
