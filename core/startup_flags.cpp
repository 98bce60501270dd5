#include "core/startup_flags.h"

#include <climits>
#include <cstdlib>

#include "core/settings.h"
#include "platform/app_paths.h"
#include "platform/mount_query.h"

namespace velora {

uint32_t ComputeStartupFlags(int safeMode, int pc98Mode, int disableWmi,
                             const StartupEnvironment& env) {
  uint32_t flags = 0;
  if (safeMode > 0 || env.programOnNetworkOrRemovable) flags |= kSafeMode;
  if (pc98Mode > 0) flags |= kPc98Mode;
  // The inventory's own sources (sysfs) are always there, so only the setting turns it off,
  // and only with exactly 1.
  if (disableWmi == 1) flags |= kNoWmi;
  return flags;
}

StartupEnvironment ProbeStartupEnvironment(const std::string& programFolder,
                                           const std::string& root) {
  StartupEnvironment env;
  std::string folder = programFolder;
  if (root.empty()) {
    if (char* real = realpath(programFolder.c_str(), nullptr)) {
      folder = real;
      std::free(real);
    }
  }
  MountInfo mount;
  if (MountOfPath(folder, mount, root)) {
    env.programOnNetworkOrRemovable =
        IsNetworkFileSystem(mount.fsType) || IsRemovableMount(mount, root);
  }
  return env;
}

uint32_t StartupFlagsFor(const Settings& settings, const std::string& programFolder,
                         const std::string& root) {
  return ComputeStartupFlags(settings.ReadInt("SafeMode"), settings.ReadInt("PC-98Mode"),
                             settings.ReadInt("DisableWMI"),
                             ProbeStartupEnvironment(programFolder, root));
}

uint32_t startupFlags() { return StartupFlagsFor(ProgramSettings(), programFolder()); }

}  // namespace velora
