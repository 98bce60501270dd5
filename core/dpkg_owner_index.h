#pragma once
// Which Debian package owns a shared library, and that package's version, reading as little of
// dpkg's data as it can: the file lists of packages named like the library, else of the package
// that declares its shared-object name, and only for a library that neither finds (one outside
// any package) every list, once. What was read is kept until dpkg's folder or status file
// changes.

#include <string>
#include <vector>

namespace velora {

// The version (no epoch, no Debian revision) of the package whose file list names one of the
// paths, "" when none does. Safe to call from several threads.
std::string OwningPackageVersion(const std::vector<std::string>& paths,
                                 const std::string& infoFolder, const std::string& statusFile);

// The start a package name of a library's file is expected to have: "libx11" for
// "libX11.so.6", "libglib" for "libglib-2.0.so.0", "libgcc" for "libgcc_s.so.1".
std::string PackageNameStem(const std::string& path);

// How a package declares a shared-object name to the linker: "libm 6" for "libm.so.6",
// "libpipewire-0.3 0" for "libpipewire-0.3.so.0"; "" for a name without ".so.<version>".
std::string SharedObjectKey(const std::string& path);

// "1:1.2.13.dfsg-1" gives "1.2.13.dfsg": no epoch, no Debian revision.
std::string UpstreamVersion(std::string version);

}  // namespace velora
