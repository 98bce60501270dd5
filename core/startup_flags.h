#pragma once
// Start-up flags: switches that keep risky collectors off. Computed on every call.

#include <cstdint>
#include <string>

namespace velora {

class Settings;

enum StartupFlag : uint32_t {
  kSafeMode = 1,  // no ATA identification
  kPc98Mode = 2,  // no counterpart on this platform: only the setting sets it
  kNoWmi = 4,     // no inventory collector
};

struct StartupEnvironment {
  // The program folder is on a network or removable file system.
  bool programOnNetworkOrRemovable = false;
};

uint32_t ComputeStartupFlags(int safeMode, int pc98Mode, int disableWmi,
                             const StartupEnvironment& env);

// The environment of a program in programFolder (mounts read under root).
StartupEnvironment ProbeStartupEnvironment(const std::string& programFolder,
                                           const std::string& root = "");

uint32_t StartupFlagsFor(const Settings& settings, const std::string& programFolder,
                         const std::string& root = "");

// The flags of the running program.
uint32_t startupFlags();

}  // namespace velora
