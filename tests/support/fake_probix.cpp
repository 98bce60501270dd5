// Answers the release text like the real library and the driver status from
// $VELORA_FAKE_DRIVER_STATUS, and counts its live objects.

#include <cstdlib>
#include <cstring>

#include "probe/probe_object.h"

namespace {

int g_live = 0;

class FakeProbe final : public velora::ProbeObject {
 public:
  char* GetNumberString(uint32_t id, char* buffer) override {
    GetString(id, buffer);
    return buffer;
  }
  int32_t GetString(uint32_t id, char* buffer) override {
    if (id == 1) {
      std::strcpy(buffer, "999");
      return 0;
    }
    buffer[0] = '\0';
    return -1;
  }
  int32_t GetInt(uint32_t id, int32_t* value) override {
    if (id != 16) {
      *value = -1;
      return -1;
    }
    const char* status = std::getenv("VELORA_FAKE_DRIVER_STATUS");
    *value = status != nullptr ? std::atoi(status) : 0;
    return *value;
  }
  int32_t Set(uint32_t, int32_t) override { return -1; }
  ~FakeProbe() = default;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) velora::ProbeObject* CreateProbix(uint32_t) {
  ++g_live;
  return new FakeProbe;
}

__attribute__((visibility("default"))) void DestroyProbix(velora::ProbeObject* object) {
  if (object != nullptr) --g_live;
  delete static_cast<FakeProbe*>(object);
}

// How many objects are alive: the binding must destroy what it created.
__attribute__((visibility("default"))) int FakeProbixLiveObjects() { return g_live; }
}
