#include <fontconfig/fontconfig.h>

#include "platform/font_smoothing_source.h"

namespace velora {

FontRendering QueryFontRendering() {
  FontRendering r;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return r;
  FcPattern* pattern = FcPatternCreate();
  if (pattern != nullptr) {
    // The settings a default text font ends up with after the user's and system's rules.
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcBool antialias = FcTrue;
    if (FcPatternGetBool(pattern, FC_ANTIALIAS, 0, &antialias) == FcResultMatch) {
      r.antialias = antialias == FcTrue;
    } else {
      r.antialias = true;  // fontconfig's own default
    }
    int rgba = FC_RGBA_UNKNOWN;
    if (FcPatternGetInteger(pattern, FC_RGBA, 0, &rgba) == FcResultMatch) r.subpixelOrder = rgba;
    r.known = true;
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return r;
}

}  // namespace velora
