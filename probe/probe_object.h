#pragma once
// The query object shared by the probe library and the programs that load it. The four
// operations are called through the object's operation table, so their order and their
// argument types are a contract between the two sides: append, never reorder.

#include <cstdint>

namespace velora {

struct ProbeEnvironment;

class ProbeObject {
 public:
  // Text query whose text is a number; a negative number comes back as the empty text.
  virtual char* GetNumberString(uint32_t id, char* buffer) = 0;
  // Text query; 0, or -1 with the empty text written. The buffer holds kProbeTextCapacity
  // bytes (kDirectXTextCapacity for the DirectX id).
  virtual int32_t GetString(uint32_t id, char* buffer) = 0;
  // Integer query; 0, or -1 with -1 written. The driver-status id returns the status itself.
  virtual int32_t GetInt(uint32_t id, int32_t* value) = 0;
  // Processor control command; its result, or -1.
  virtual int32_t Set(uint32_t id, int32_t value) = 0;

 protected:
  // Objects are freed only through DestroyProbix.
  ~ProbeObject() = default;
};

constexpr uint32_t kProbeTextCapacity = 129;
constexpr uint32_t kDirectXTextCapacity = 16;

// Creation flags of CreateProbix.
constexpr uint32_t kCreateCpuProbe = 0x100;
constexpr uint32_t kCreatePciProbe = 0x200;
constexpr uint32_t kCreateSmbiosProbe = 0x1000;
constexpr uint32_t kDefaultCreateFlags = 0x700;

}  // namespace velora

// The library's exports, looked up by name with dlsym.
extern "C" {
using CreateProbixFn = velora::ProbeObject* (*)(uint32_t flags);
// The same object on services the caller provides (a recorded machine); they outlive it.
using CreateProbixOnFn = velora::ProbeObject* (*)(uint32_t flags,
                                                 velora::ProbeEnvironment* services);
using DestroyProbixFn = void (*)(velora::ProbeObject* object);
}
