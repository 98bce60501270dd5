#pragma once
// The installed DirectX version: asked of the diagnostic provider, else inferred from the
// versions of DirectX system files. Runs afresh at every call.

#include <string>

#include "platform/file_version_source.h"

namespace velora {

struct DirectXVersion {
  int major = 0;
  int minor = 0;
  char letter = ' ';  // blank when there is none
};

DirectXVersion DetectDirectXVersion(DirectXSources& sources);

// "%d.%d" or "%d.%d%c" with the letter in lower case, cut to 15 characters.
std::string FormatDirectXVersion(const DirectXVersion& version);

inline std::string DirectXVersionText(DirectXSources& sources) {
  return FormatDirectXVersion(DetectDirectXVersion(sources));
}

}  // namespace velora
