#pragma once
// The services a probe object works through. The library passes the Linux ones; tests pass
// doubles fed from recorded inputs.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock_source.h"
#include "platform/cpuid_source.h"
#include "platform/driver_link.h"
#include "platform/file_version_source.h"
#include "platform/system_queries.h"

namespace velora {

struct ProbeEnvironment {
  DriverLink& driver;
  ClockSource& clock;
  DirectXSources& directx;
  // The driver status that id 16 answers: copied from the driver link at every creation,
  // overwritten with 4 by a processor identification that finds no open driver.
  std::atomic<int32_t>& reportedDriverStatus;
  CpuidSource& cpuid;
  SystemQueries& system;
  // Where the PCI name databases are looked up: its data/ folder, then itself, then
  // ../share/velora09/data/. Empty: no database is found.
  std::string programFolder;
  // The firmware's SMBIOS tables as Linux exposes them (smbios_entry_point and DMI), read
  // when physical memory is not readable. Empty: not tried.
  std::string firmwareTablesFolder;
  // The host program's settings file, read at every processor identification (the wait time
  // between processors). Empty: nothing is read and the defaults hold.
  std::string settingsFile;
  // Where the library says what it refused to do, one line per call; empty: said to no one.
  std::function<void(const std::string&)> log = {};
};

}  // namespace velora
