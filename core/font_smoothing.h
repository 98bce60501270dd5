#pragma once
// The font-smoothing type: 0 none, 1 standard (grey), 2 sub-pixel ("ClearType").

#include "platform/font_smoothing_source.h"

namespace velora {

int FontSmoothingTypeOf(const FontRendering& rendering);

int fontSmoothingType();

// "None", "Normal", "ClearType", or "Unknown" for any other value.
const char* FontSmoothingName(int type);

}  // namespace velora
