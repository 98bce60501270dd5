#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/file_version_source.h"

namespace velora {

class FakeDirectXSources : public DirectXSources {
 public:
  std::optional<DirectXDiagnosticVersion> provider;
  bool systemDirectory = true;
  bool version490 = false;
  std::map<std::string, FileVersion> files;

  std::optional<DirectXDiagnosticVersion> QueryDiagnosticProvider() override { return provider; }
  bool HasSystemDirectory() override { return systemDirectory; }
  std::optional<FileVersion> SystemFileVersion(const std::string& name) override {
    auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool IsVersion490() override { return version490; }
};

}  // namespace velora
