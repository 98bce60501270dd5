#pragma once
// A translucent window, decided once at start-up from "EnableAlpha" and "Alpha".

class QWidget;

namespace velora {

class Settings;

// Sets the window's opacity to alpha / 255; false (and the window left as it is) for no window
// or an alpha of 0 or 255 or outside them.
bool applyTransparency(QWidget* window, int alpha);

// applyTransparency with the settings' alpha, when they ask for one.
bool applyStartupTransparency(QWidget* window, const Settings& settings);

}  // namespace velora
