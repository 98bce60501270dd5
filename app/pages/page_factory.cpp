#include "app/pages/page_factory.h"

#include "app/pages/back_page.h"
#include "app/pages/mark_page.h"
#include "core/main_window_model.h"

namespace velora {

std::unique_ptr<Page> MakePage(int tabIndex, BenchEngine& engine) {
  if (tabIndex < 0 || tabIndex >= kPageCount) return nullptr;
  switch (tabIndex) {
    case 0: return std::make_unique<MarkPage>(engine);
    case 10: return std::make_unique<BackPage>();
    default: return std::make_unique<Page>(tabIndex);
  }
}

}  // namespace velora
