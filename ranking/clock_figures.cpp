#include "ranking/clock_figures.h"

#include <cstdio>
#include <cstdlib>

namespace velora {

namespace {

double Number(const std::string& text) { return std::atof(text.c_str()); }

std::string Fixed2(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

void ApplyClockEdit(RankingForm& form, ClockEdit edit) {
  double clock = Number(form.clock);
  const double system = Number(form.systemClock), systemOriginal = Number(form.systemClockOriginal);
  const double multiplier = Number(form.multiplier);
  const double multiplierOriginal = Number(form.multiplierOriginal);
  switch (edit) {
    case ClockEdit::kSystemClock:
      if (system > 0 && multiplier >= 1) form.clock = Fixed2(system * multiplier);
      break;
    case ClockEdit::kMultiplier:
      if (multiplier >= 1 && clock > 0) form.systemClock = Fixed2(clock / multiplier);
      break;
    case ClockEdit::kOriginal:
      if (systemOriginal > 0 && multiplierOriginal >= 1) {
        form.clockOriginal = Fixed2(systemOriginal * multiplierOriginal);
      }
      break;
  }
  // From the texts as they now read, so the percentage matches the clocks shown.
  clock = Number(form.clock);
  const double clockOriginal = Number(form.clockOriginal);
  if (clock > 0 && clockOriginal > 0) form.overClock = Fixed2(clock / clockOriginal * 100 - 100);
}

}  // namespace velora
