#pragma once
// Looks at a shared library before the dynamic loader maps it: a truncated or foreign file
// would otherwise be mapped and fault (SIGBUS) on the first touch of its missing pages.

#include <string>

namespace velora {

// True for a regular file that is an ELF shared object of this process's class and machine
// whose program and section headers, and every segment they describe, lie inside the file.
bool PlausibleSharedLibrary(const std::string& path);

}  // namespace velora
