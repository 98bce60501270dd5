#include "core/font_smoothing.h"

namespace velora {

int FontSmoothingTypeOf(const FontRendering& rendering) {
  if (!rendering.known || !rendering.antialias) return 0;
  // FC_RGBA_RGB .. FC_RGBA_VBGR are the sub-pixel orders; unknown and none are grey.
  bool subpixel = rendering.subpixelOrder >= 1 && rendering.subpixelOrder <= 4;
  return subpixel ? 2 : 1;
}

int fontSmoothingType() { return FontSmoothingTypeOf(QueryFontRendering()); }

const char* FontSmoothingName(int type) {
  switch (type) {
    case 0: return "None";
    case 1: return "Normal";
    case 2: return "ClearType";
    default: return "Unknown";
  }
}

}  // namespace velora
