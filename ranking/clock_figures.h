#pragma once
// The form's clock edits: a changed system clock or multiplier recomputes the clock it implies,
// and the over-clock percentage follows.

#include "ranking/ranking_form.h"

namespace velora {

enum class ClockEdit { kSystemClock, kMultiplier, kOriginal };

// Reads the clock fields, writes back the recomputed ones in "%.2f"; over clock last, only when
// the current and original internal clocks are both above 0.
void ApplyClockEdit(RankingForm& form, ClockEdit edit);

}  // namespace velora
