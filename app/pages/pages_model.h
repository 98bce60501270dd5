#pragma once
// The main window's pages, read-only, as data: what the reports, the ranking body, the Result
// dialog and the pages themselves read of one another. Each page's data is declared beside the
// logic that fills it; this model only gathers the read access in one place.

#include "bench/mark_page_data.h"
#include "info/inventory_pages.h"

namespace velora {

class PagesModel : public MarkPageSource, public InventoryPagesSource {};

}  // namespace velora
