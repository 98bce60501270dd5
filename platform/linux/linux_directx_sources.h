#pragma once

#include "platform/file_version_source.h"

namespace velora {

// Linux has neither the DirectX diagnostic provider nor a system directory of DirectX files,
// so both detection methods find nothing and the version reads "0.0".
class LinuxDirectXSources : public DirectXSources {
 public:
  std::optional<DirectXDiagnosticVersion> QueryDiagnosticProvider() override { return {}; }
  bool HasSystemDirectory() override { return false; }
  std::optional<FileVersion> SystemFileVersion(const std::string&) override { return {}; }
  bool IsVersion490() override { return false; }
};

}  // namespace velora
