#pragma once
// What every comparison of the harness shares: engine calls timed, medians of alternating
// pairs, and the lines it prints.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velora::bench {

// Seconds on the raw monotonic clock, which no time adjustment bends.
double Now();

double Median(std::vector<double> v);
// Ratios of pairs; a failed engine call (negative) or a missing reference counts as 0.
std::vector<double> Ratios(const std::vector<double>& top, const std::vector<double>& bottom);
// The figures rounded, separated by blanks.
std::string Join(const std::vector<double>& v);
void PrintLoad(const char* when);
// What a shell command prints on its standard output; empty when it cannot be started.
std::string CommandOutput(const std::string& command);

// The shortest and longest BenchMark call, preparation and checks included.
struct CallSpan {
  double shortest = 1e9, longest = 0.0;
  void Add(double seconds);
  std::string Text() const;
};
// Of the whole run, and of the sub-test being compared.
CallSpan& AllCalls();
CallSpan& SubTestCalls();

// One BenchMark call; its value, or -1 when the call failed.
double EngineValue(int32_t test, int32_t sub, void* params);

// Engine and reference take turns for pairs pairs, who goes first alternating, so a drift of
// the machine favours neither; prints the raw figures and the median ratio as
//   # <label> engine ... | <referenceName> ... (<unit>) calls ...
//   ratio <label> <median>
// and answers the median.
double ComparePairs(const std::string& label, int pairs, const std::function<double()>& engine,
                    const char* referenceName, const std::function<double()>& reference,
                    const char* unit);

}  // namespace velora::bench
