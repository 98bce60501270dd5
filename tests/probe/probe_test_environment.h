#pragma once
// A probe environment over doubles, for tests that build probe objects directly.

#include <atomic>

#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_cpuid_source.h"
#include "platform/fake/fake_directx_sources.h"
#include "platform/fake/fake_driver_link.h"
#include "platform/fake/fake_system_queries.h"
#include "probe/probe_environment.h"

namespace velora {

struct TestProbeEnvironment {
  FakeDriverLink driver;
  FakeClockSource clock;
  FakeDirectXSources directx;
  FakeCpuidSource cpuid;
  FakeSystemQueries system;
  std::atomic<int32_t> reportedStatus{kDriverNoDevice};
  ProbeEnvironment env{driver, clock, directx, reportedStatus, cpuid, system, "", "", ""};
};

}  // namespace velora
