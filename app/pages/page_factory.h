#pragma once
// The eleven pages by tab index. A page whose content belongs to a part of the program not
// built yet is a plain page with its caption and place.

#include <memory>

#include "app/pages/page.h"
#include "bench/bench_engine.h"

namespace velora {

// The page of a tab index, or null outside 0 to 10. The Mark page runs its tests on engine.
std::unique_ptr<Page> MakePage(int tabIndex, BenchEngine& engine);

}  // namespace velora
