#include "core/probe_binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include "core/library_file_check.h"

namespace velora {

ProbeBinding::ProbeBinding(std::string folder, std::string fileName)
    : folder_(std::move(folder)), fileName_(std::move(fileName)) {}

ProbeBinding::~ProbeBinding() { Release(); }

bool ProbeBinding::Load(uint32_t flags) {
  if (handle_ != nullptr) Release();
  if (!folder_.empty()) {
    // Beside the program, then where an install puts the program's private libraries.
    for (const char* under : {"/", "/../lib/velora09/"}) {
      const std::string path = folder_ + under + fileName_;
      // A truncated copy counts as not found; it is not mapped at all.
      if (PlausibleSharedLibrary(path)) {
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      } else if (access(path.c_str(), F_OK) == 0) {
        return false;
      }
      if (handle_ != nullptr) break;
    }
  }
  if (handle_ == nullptr) handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) return false;
  if (services_ != nullptr) {
    auto createOn = reinterpret_cast<CreateProbixOnFn>(dlsym(handle_, "CreateProbixOn"));
    if (createOn != nullptr) {
      probe_ = createOn(flags, services_);
      return true;
    }
  } else if (auto create = reinterpret_cast<CreateProbixFn>(dlsym(handle_, "CreateProbix"))) {
    probe_ = create(flags);
    return true;
  }
  // A library without the export asked for is no probe library of ours.
  dlclose(handle_);
  handle_ = nullptr;
  return false;
}

bool ProbeBinding::Release() {
  if (handle_ == nullptr) return false;
  auto destroy = reinterpret_cast<DestroyProbixFn>(dlsym(handle_, "DestroyProbix"));
  if (destroy != nullptr && probe_ != nullptr) destroy(probe_);
  dlclose(handle_);
  handle_ = nullptr;
  probe_ = nullptr;
  return true;
}

std::string ProbeBinding::MissingMessage() const { return "Not found \"" + fileName_ + "\"."; }

}  // namespace velora
