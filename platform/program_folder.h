#pragma once

#include <string>

namespace velora {

// Folder of the running executable, without a trailing slash; empty when unknown.
std::string ProgramFolder();

}  // namespace velora
