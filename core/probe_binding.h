#pragma once
// The probe library, loaded by file name while it is needed and released again.

#include <cstdint>
#include <string>

#include "probe/probe_object.h"

namespace velora {

constexpr const char* kProbeLibraryName = "libprobix.so";

class ProbeBinding {
 public:
  // Looks in folder first, then in folder/../lib/velora09 (the installed layout), then along
  // the loader's search path.
  explicit ProbeBinding(std::string folder, std::string fileName = kProbeLibraryName);
  ~ProbeBinding();
  ProbeBinding(const ProbeBinding&) = delete;
  ProbeBinding& operator=(const ProbeBinding&) = delete;

  // Loads the library and creates the object; false when the library or its CreateProbix is
  // missing (the library is then not kept). The object may still be null when the library
  // could not allocate it.
  bool Load(uint32_t flags);
  // From now on, objects are created on these services instead of the library's own (a
  // recorded machine); null goes back to the library's. The services outlive the binding.
  void UseServices(ProbeEnvironment* services) { services_ = services; }
  bool replaying() const { return services_ != nullptr; }
  // Destroys the object and unloads the library; false when nothing was loaded.
  bool Release();

  bool loaded() const { return handle_ != nullptr; }
  ProbeObject* probe() const { return probe_; }
  // The text shown when Load fails: Not found "libprobix.so".
  std::string MissingMessage() const;

 private:
  std::string folder_;
  std::string fileName_;
  void* handle_ = nullptr;
  ProbeObject* probe_ = nullptr;
  ProbeEnvironment* services_ = nullptr;
};

}  // namespace velora
