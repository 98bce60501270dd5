#include "app/pages/page_set.h"

#include "app/pages/mark_page.h"
#include "app/pages/page_factory.h"

namespace velora {

std::unique_ptr<Page> PageSet::MakePageOf(int index) { return MakePage(index, engine_); }

void PageSet::Clear() {
  for (int index : kPageDeletionOrder) pages_[Slot(index)].reset();
}

Page* PageSet::page(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= kPageCount) return nullptr;
  return pages_[Slot(tabIndex)].get();
}

void PageSet::StopRuns() {
  if (auto* mark = dynamic_cast<MarkPage*>(page(0))) mark->stopForClose();
}

MarkPageData PageSet::ReadMarkPage() const {
  if (auto* mark = dynamic_cast<MarkPage*>(page(0))) return mark->data();
  return {};
}

}  // namespace velora
