#include "core/probe_binding.h"

#include <dlfcn.h>

namespace velora {

ProbeBinding::ProbeBinding(std::string folder, std::string fileName)
    : folder_(std::move(folder)), fileName_(std::move(fileName)) {}

ProbeBinding::~ProbeBinding() { Release(); }

bool ProbeBinding::Load(uint32_t flags) {
  if (handle_ != nullptr) Release();
  if (!folder_.empty()) {
    std::string path = folder_ + "/" + fileName_;
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (handle_ == nullptr) handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) return false;
  auto create = reinterpret_cast<CreateProbixFn>(dlsym(handle_, "CreateProbix"));
  if (create == nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  probe_ = create(flags);
  return true;
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
