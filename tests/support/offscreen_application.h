#pragma once
// The one QApplication of the test program, on the offscreen platform so tests need no display;
// VELORA_TEST_QPA names another (xcb, for the runs on a virtual X server).

#include <QApplication>
#include <cstdlib>

namespace velora::testing {

inline void EnsureOffscreenApplication() {
  if (QApplication::instance() != nullptr) return;
  const char* chosen = std::getenv("VELORA_TEST_QPA");
  setenv("QT_QPA_PLATFORM", chosen != nullptr && *chosen != '\0' ? chosen : "offscreen", 1);
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace velora::testing
