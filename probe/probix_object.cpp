#include "probe/probix_object.h"

#include <cctype>
#include <cmath>
#include <new>
#include <string>

#include "probe/directx_version.h"
#include "probe/probe_id_table.h"
#include "probe/probe_text.h"

namespace velora {

namespace {

template <typename T, typename Make>
std::unique_ptr<T> TryCreate(const Make& make) {
  try {
    return make();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

SubProbeFactory SubProbeFactory::Default() {
  SubProbeFactory f;
  f.cpu = [](ProbeEnvironment& env, uint32_t mask, int32_t mode) {
    return std::make_unique<CpuProbe>(env, mask, mode);
  };
  f.pci = [](ProbeEnvironment& env) { return std::make_unique<PciProbe>(env); };
  f.smbios = [](ProbeEnvironment& env) { return std::make_unique<SmbiosProbe>(env); };
  return f;
}

ProbixObject::ProbixObject(ProbeEnvironment& env, uint32_t flags, SubProbeFactory factory)
    : env_(env), factory_(std::move(factory)) {
  env_.reportedDriverStatus.store(env_.driver.Status());
  if (flags & kCreateCpuProbe) {
    cpu_ = TryCreate<CpuProbe>([&] { return factory_.cpu ? factory_.cpu(env_, 1, 0) : nullptr; });
  }
  if (flags & kCreatePciProbe) {
    pci_ = TryCreate<PciProbe>([&] { return factory_.pci ? factory_.pci(env_) : nullptr; });
  }
  if (flags & kCreateSmbiosProbe) {
    smbios_ =
        TryCreate<SmbiosProbe>([&] { return factory_.smbios ? factory_.smbios(env_) : nullptr; });
  }
}

ProbixObject::~ProbixObject() {
  pci_.reset();
  cpu_.reset();
  smbios_.reset();
}

double LeadingNumber(const char* text) {
  if (text == nullptr) return 0.0;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  double value = 0.0;
  bool digits = false;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    value = value * 10.0 + (*p++ - '0');
    digits = true;
  }
  if (*p == '.') {
    ++p;
    double scale = 0.1;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
      value += (*p++ - '0') * scale;
      scale /= 10.0;
      digits = true;
    }
  }
  if (!digits) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool expNegative = false;
    if (*q == '+' || *q == '-') expNegative = *q++ == '-';
    if (std::isdigit(static_cast<unsigned char>(*q))) {
      int exponent = 0;
      while (std::isdigit(static_cast<unsigned char>(*q))) {
        if (exponent < 10000) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      value *= std::pow(10.0, expNegative ? -exponent : exponent);
    }
  }
  return negative ? -value : value;
}

char* ProbixObject::GetNumberString(uint32_t id, char* buffer) {
  if (buffer == nullptr) return buffer;
  // Through the operation table, so that an override of GetString is honoured.
  ProbeObject& self = *this;
  self.GetString(id, buffer);
  if (LeadingNumber(buffer) < 0.0) buffer[0] = '\0';
  return buffer;
}

bool ProbixObject::NormalisedSmbiosSocket(std::string& text) {
  if (!smbios_) return false;
  std::string socket;
  smbios_->GetString(probe_id::kSmbiosProcessorSocket, socket);
  auto has = [&](const char* pattern) { return socket.find(pattern) != std::string::npos; };
  if (has("Slot 1")) {
    text = "Slot 1";
  } else if (has("Slot A") || has("Slot-A")) {
    text = "Slot A";
  } else if (has("Socket A") || has("Socket-A")) {
    text = "Socket A";
  } else {
    return false;
  }
  return true;
}

int32_t ProbixObject::AnswerText(uint32_t id, std::string& text) {
  text.clear();
  if (id == probe_id::kCpuPlatform) {
    if (NormalisedSmbiosSocket(text)) return 0;
    text.clear();
    if (cpu_) return cpu_->GetString(id, text);
  }
  if (kPciDeviceIds.Contains(id) || kChipsetIds.Contains(id)) {
    if (pci_) return pci_->GetString(id, text);
  } else if (kCpuIds.Contains(id)) {
    if (cpu_) return cpu_->GetString(id, text);
  } else if (kSmbiosIds.Contains(id)) {
    if (smbios_) return smbios_->GetString(id, text);
  } else if (id == probe_id::kBuildNumber) {
    text = kBuildNumberText;
    return 0;
  } else if (id == probe_id::kBuildDate) {
    text = kBuildDateText;
    return 0;
  } else if (id == probe_id::kAuthor) {
    text = kAuthorText;
    return 0;
  } else if (id == probe_id::kDirectXVersion) {
    text = DirectXVersionText(env_.directx);
    return 0;
  }
  text.clear();
  return -1;
}

int32_t ProbixObject::GetString(uint32_t id, char* buffer) {
  if (buffer == nullptr) return -1;
  std::string text;
  int32_t result = AnswerText(id, text);
  CopyProbeText(buffer, text, id == probe_id::kDirectXVersion ? kDirectXTextCapacity : kProbeTextCapacity);
  return result;
}

void ProbixObject::SelectProcessor(uint32_t id, int32_t mode) {
  uint32_t mask = 1u << (id - kSelectProcessorIds.first);
  if (cpu_) {
    cpu_->Identify(mask, mode);
  } else {
    cpu_ = TryCreate<CpuProbe>(
        [&] { return factory_.cpu ? factory_.cpu(env_, mask, 0) : nullptr; });
  }
}

int32_t ProbixObject::GetInt(uint32_t id, int32_t* value) {
  if (value == nullptr) return -1;
  if (id == probe_id::kDriverStatus) {
    *value = env_.reportedDriverStatus.load();
    return *value;
  }
  if (kSelectProcessorIds.Contains(id)) {
    SelectProcessor(id, *value);
    *value = 0;
    return 0;
  }
  int32_t answer = -1;
  int32_t result = -1;
  if (kPciDeviceIds.Contains(id) || kChipsetIds.Contains(id)) {
    if (pci_) result = pci_->GetInt(id, answer);
  } else if (kCpuIds.Contains(id)) {
    if (cpu_) result = cpu_->GetInt(id, answer);
  } else if (kSmbiosIds.Contains(id)) {
    if (smbios_) result = smbios_->GetInt(id, answer);
  }
  *value = answer;
  return result;
}

int32_t ProbixObject::Set(uint32_t id, int32_t value) {
  if (kCpuIds.Contains(id) && cpu_) return cpu_->Set(id, value);
  return -1;
}

}  // namespace velora
