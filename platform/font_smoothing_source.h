#pragma once
// How the desktop renders text, as fontconfig answers for the default font.

namespace velora {

struct FontRendering {
  bool known = false;      // fontconfig answered at all
  bool antialias = false;  // FC_ANTIALIAS
  int subpixelOrder = 0;   // FC_RGBA: 0 unknown, 1 rgb, 2 bgr, 3 vrgb, 4 vbgr, 5 none
};

FontRendering QueryFontRendering();

}  // namespace velora
