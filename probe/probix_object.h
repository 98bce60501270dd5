#pragma once
// The probe library's query object: routes each id to the sub-object whose range holds it
// and answers the library's own ids.

#include <functional>
#include <memory>

#include "probe/cpu/cpu_probe.h"
#include "probe/pci/pci_probe.h"
#include "probe/probe_environment.h"
#include "probe/probe_object.h"
#include "probe/smbios/smbios_probe.h"

namespace velora {

// How sub-objects come to be; tests substitute their own.
struct SubProbeFactory {
  std::function<std::unique_ptr<CpuProbe>(ProbeEnvironment&, uint32_t mask, int32_t mode)> cpu;
  std::function<std::unique_ptr<PciProbe>(ProbeEnvironment&)> pci;
  std::function<std::unique_ptr<SmbiosProbe>(ProbeEnvironment&)> smbios;

  static SubProbeFactory Default();
};

class ProbixObject final : public ProbeObject {
 public:
  ProbixObject(ProbeEnvironment& env, uint32_t flags,
               SubProbeFactory factory = SubProbeFactory::Default());
  ~ProbixObject();
  ProbixObject(const ProbixObject&) = delete;
  ProbixObject& operator=(const ProbixObject&) = delete;

  char* GetNumberString(uint32_t id, char* buffer) override;
  int32_t GetString(uint32_t id, char* buffer) override;
  int32_t GetInt(uint32_t id, int32_t* value) override;
  int32_t Set(uint32_t id, int32_t value) override;

  CpuProbe* cpu() const { return cpu_.get(); }
  PciProbe* pci() const { return pci_.get(); }
  SmbiosProbe* smbios() const { return smbios_.get(); }

 private:
  int32_t AnswerText(uint32_t id, std::string& text);
  bool NormalisedSmbiosSocket(std::string& text);
  void SelectProcessor(uint32_t id, int32_t mode);

  // Held in this order after the operation table; each null when not requested or when
  // allocating it failed.
  std::unique_ptr<CpuProbe> cpu_;
  std::unique_ptr<PciProbe> pci_;
  std::unique_ptr<SmbiosProbe> smbios_;

  ProbeEnvironment& env_;
  SubProbeFactory factory_;
};

// The value of a number text as the probe reads it: a leading decimal number, 0 when the
// text does not start with one.
double LeadingNumber(const char* text);

}  // namespace velora
