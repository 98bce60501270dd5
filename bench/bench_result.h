#pragma once
// The benchmark result record: scores, measured values and the display state of every test,
// the settings of the last full run and the flags a run leaves behind.

#include <array>
#include <cstdint>
#include <string>

#include "engine/test_catalog.h"

namespace velora {

inline constexpr int kTestRows = kTestIdCount;
inline constexpr int kScoreColumns = 16;
// A run asks the engine for these sub-test numbers of every test; missing ones answer 0.
inline constexpr int kSubTestsPerRun = 8;
inline constexpr int kLastRunTest = kTestOgl;

// The button name of a test id ("ALU"); "?" outside 0 to 10.
const char* TestShortName(int test);

struct DisplayState {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t fontSmoothing = 0;

  bool operator==(const DisplayState&) const = default;
};

struct RunSettings {
  std::string processorMask;
  std::string displayMode;
  std::string fontSmoothing;
  int32_t scratchSizeMb = 0;
  DisplayState display;

  bool operator==(const RunSettings&) const = default;
};

struct BenchResult {
  // Row 0: column 0 the overall score, column t the score of test t. Row t: sub-test scores.
  std::array<std::array<int32_t, kScoreColumns>, kTestRows> score{};
  // Row t, column s: the measured value of sub-test s of test t; row 0 stays 0.
  std::array<std::array<int32_t, kScoreColumns>, kTestRows> value{};
  // Entry 0 taken when a full run starts, entry t when test t starts.
  std::array<DisplayState, kTestRows> display{};
  RunSettings runSettings;
  int32_t fullRun = 0;
  // Entry 0 a full run, entry t a single test; set while a run is in progress.
  std::array<bool, kTestRows> selected{};
};

// The registration predicate: a full run, not stopped, with the scratch file on a fixed disk,
// while the screen mode and font smoothing stayed as they were at its start through GDI and D2D.
bool IsRunComplete(const BenchResult& result);

}  // namespace velora
