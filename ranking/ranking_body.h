#pragma once
// The registration body: key=value pairs in their fixed order, each value through its encoder,
// then the version pairs and "check=1". The posted data adds the text's terminating zero byte.

#include <cstdint>
#include <string>

#include "bench/bench_result.h"
#include "ranking/machine_facts.h"
#include "ranking/ranking_form.h"

namespace velora {

// Appends one "key=value&" pair per call.
class BodyWriter {
 public:
  // "&", "+" and "=" escaped, leading white space dropped; nothing else is escaped.
  void Text(const char* key, const std::string& value);
  // Negative values as -1.
  void Integer(const char* key, int64_t value);
  // Converted like atoi; negative as -1.
  void IntegerFromText(const char* key, const std::string& value);
  // Hexadecimal digits without prefix, sent in decimal; 0 or less (and nothing) as 0.
  void HexText(const char* key, const std::string& value);
  // Converted like atof, "%.2f".
  void DecimalFromText(const char* key, const std::string& value);
  void Raw(const std::string& pair) { body_ += pair; }

  const std::string& body() const { return body_; }

 private:
  std::string body_;
};

// "Major= 0&Minor=9&Revision=115&Release=3&" from "Velora 0.9.115.3": every "Velora" and " Beta"
// removed, the rest split at "."; the first piece keeps its blank. Missing pieces are empty.
std::string VersionPairs(const std::string& title);

// The whole body, without the zero byte.
std::string RankingBody(const RankingForm& form, const CpuFacts& cpu, const SystemFacts& system,
                        const DeviceFacts& device, const BenchResult& result,
                        const std::string& title);

}  // namespace velora
