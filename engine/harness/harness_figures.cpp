#include "engine/harness/harness_figures.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/velora_engine.h"

namespace velora::bench {

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2.0;
}

std::vector<double> Ratios(const std::vector<double>& top, const std::vector<double>& bottom) {
  std::vector<double> r;
  for (size_t i = 0; i < top.size() && i < bottom.size(); ++i)
    r.push_back(top[i] >= 0.0 && bottom[i] > 0.0 ? top[i] / bottom[i] : 0.0);
  return r;
}

std::string Join(const std::vector<double>& v) {
  std::string text;
  char item[32];
  for (double x : v) {
    std::snprintf(item, sizeof item, "%s%.0f", text.empty() ? "" : " ", x);
    text += item;
  }
  return text;
}

void PrintLoad(const char* when) {
  double load[3] = {};
  if (getloadavg(load, 3) == 3)
    std::printf("# load %s %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

std::string CommandOutput(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string out;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, got);
  pclose(pipe);
  return out;
}

void CallSpan::Add(double seconds) {
  shortest = std::min(shortest, seconds);
  longest = std::max(longest, seconds);
}

std::string CallSpan::Text() const {
  char text[64];
  std::snprintf(text, sizeof text, "calls %.2f-%.2f s", shortest, longest);
  return text;
}

CallSpan& AllCalls() {
  static CallSpan span;
  return span;
}

CallSpan& SubTestCalls() {
  static CallSpan span;
  return span;
}

double EngineValue(int32_t test, int32_t sub, void* params) {
  int32_t score = 0, value = 0;
  const double start = Now();
  BenchMark(test, sub, 1, params, &score, &value);
  const double seconds = Now() - start;
  AllCalls().Add(seconds);
  SubTestCalls().Add(seconds);
  return score >= 0 ? value : -1.0;
}

double ComparePairs(const std::string& label, int pairs, const std::function<double()>& engine,
                    const char* referenceName, const std::function<double()>& reference,
                    const char* unit) {
  std::vector<double> ours, theirs;
  SubTestCalls() = CallSpan{};
  for (int pair = 0; pair < pairs; ++pair) {
    if (pair % 2 == 0) {
      ours.push_back(engine());
      theirs.push_back(reference());
    } else {
      theirs.push_back(reference());
      ours.push_back(engine());
    }
  }
  const double ratio = Median(Ratios(ours, theirs));
  std::printf("# %s engine %s | %s %s (%s) %s\n", label.c_str(), Join(ours).c_str(), referenceName,
              Join(theirs).c_str(), unit, SubTestCalls().Text().c_str());
  std::printf("ratio %s %.3f\n", label.c_str(), ratio);
  std::fflush(stdout);
  return ratio;
}

}  // namespace velora::bench
