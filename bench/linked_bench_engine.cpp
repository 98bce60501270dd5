#include "bench/linked_bench_engine.h"

#include "engine/velora_engine.h"

namespace velora {

int32_t LinkedBenchEngine::BenchMark(int32_t test, int32_t subTest, int32_t mode, void* params,
                                     int32_t* score, int32_t* value) {
  return ::BenchMark(test, subTest, mode, params, score, value);
}

std::string LinkedBenchEngine::BenchString(int32_t test, int32_t index) {
  char text[256] = {};
  ::GetBenchString(test, index, text);
  text[sizeof text - 1] = '\0';  // never trust the library to terminate
  return text;
}

EngineInfo LinkedBenchEngine::Info() {
  char version[32] = {};
  char date[32] = {};
  ::GetDllInfo(version, date);
  version[sizeof version - 1] = '\0';
  date[sizeof date - 1] = '\0';
  return {version, date};
}

}  // namespace velora
