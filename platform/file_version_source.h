#pragma once
// Version information of operating-system files, as the DirectX detection asks for it.

#include <cstdint>
#include <optional>
#include <string>

namespace velora {

// a.b.c.d packed as a << 48 | b << 32 | c << 16 | d.
using FileVersion = uint64_t;

constexpr FileVersion MakeFileVersion(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  return static_cast<uint64_t>(a) << 48 | static_cast<uint64_t>(b) << 32 |
         static_cast<uint64_t>(c) << 16 | d;
}

struct DirectXDiagnosticVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  char letter = ' ';
};

class DirectXSources {
 public:
  virtual ~DirectXSources() = default;

  // The diagnostic provider's three properties; nullopt when it is absent or any is missing.
  virtual std::optional<DirectXDiagnosticVersion> QueryDiagnosticProvider() = 0;

  virtual bool HasSystemDirectory() = 0;
  // Fixed version of a file in the system directory (name as "\\ddraw.dll");
  // nullopt when the file has no readable version information.
  virtual std::optional<FileVersion> SystemFileVersion(const std::string& name) = 0;

  // True on the one system release whose version is 4.90.
  virtual bool IsVersion490() = 0;
};

}  // namespace velora
