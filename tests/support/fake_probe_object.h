#pragma once
// A probe object that answers from maps the test fills, and records the integer queries.

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "probe/probe_object.h"

namespace velora::testing {

class FakeProbeObject : public ProbeObject {
 public:
  std::map<uint32_t, std::string> texts;
  std::map<uint32_t, int32_t> ints;
  std::vector<uint32_t> intQueries;

  char* GetNumberString(uint32_t id, char* buffer) override {
    buffer[0] = '\0';
    if (auto it = texts.find(id); it != texts.end()) Copy(buffer, it->second);
    return buffer;
  }
  int32_t GetString(uint32_t id, char* buffer) override {
    buffer[0] = '\0';
    auto it = texts.find(id);
    if (it == texts.end()) return -1;
    Copy(buffer, it->second);
    return 0;
  }
  int32_t GetInt(uint32_t id, int32_t* value) override {
    intQueries.push_back(id);
    auto it = ints.find(id);
    *value = it == ints.end() ? -1 : it->second;
    return it == ints.end() ? -1 : 0;
  }
  int32_t Set(uint32_t, int32_t) override { return -1; }

 private:
  static void Copy(char* buffer, const std::string& text) {
    std::snprintf(buffer, kProbeTextCapacity, "%s", text.c_str());
  }
};

}  // namespace velora::testing
