#pragma once
// The one QApplication of the test program, on the offscreen platform so tests need no display.

#include <QApplication>
#include <cstdlib>

namespace velora::testing {

inline void EnsureOffscreenApplication() {
  if (QApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace velora::testing
