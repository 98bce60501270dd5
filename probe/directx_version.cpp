#include "probe/directx_version.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace velora {

namespace {

enum class Check {
  AtLeast,        // version >= threshold
  ByFirstNumber,  // threshold chosen by the file's first number, 4 or 5; others fail
  AnyVersion,     // any readable version
  Version490,     // the system release 4.90: minor becomes 1
};

struct FileCheck {
  const char* file;
  Check check;
  FileVersion threshold;   // for AtLeast, or for first number 4
  FileVersion threshold5;  // for first number 5
  int major;
  int minor;
  char letter;
};

constexpr FileVersion V(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  return MakeFileVersion(a, b, c, d);
}

// Run in order; every check runs and each one that passes overwrites the result.
constexpr std::array<FileCheck, 17> kFileChecks{{
    {"\\ddraw.dll", Check::AtLeast, V(4, 2, 0, 95), 0, 1, 0, ' '},
    {"\\ddraw.dll", Check::AtLeast, V(4, 3, 0, 1096), 0, 2, 0, ' '},
    {"\\ddraw.dll", Check::AtLeast, V(4, 4, 0, 68), 0, 3, 0, ' '},
    {"\\d3drg8x.dll", Check::AtLeast, V(4, 4, 0, 70), 0, 3, 0, 'a'},
    {"\\ddraw.dll", Check::AtLeast, V(4, 5, 0, 155), 0, 5, 0, ' '},
    {"\\ddraw.dll", Check::AtLeast, V(4, 6, 0, 318), 0, 6, 0, ' '},
    {"\\ddraw.dll", Check::AtLeast, V(4, 6, 0, 436), 0, 6, 1, ' '},
    {"\\dplayx.dll", Check::AtLeast, V(4, 6, 3, 518), 0, 6, 1, 'a'},
    {"\\ddraw.dll", Check::AtLeast, V(4, 7, 0, 700), 0, 7, 0, ' '},
    {"\\dinput.dll", Check::AtLeast, V(4, 7, 0, 716), 0, 7, 0, 'a'},
    {nullptr, Check::Version490, 0, 0, 0, 1, ' '},
    {"\\ddraw.dll", Check::ByFirstNumber, V(4, 8, 0, 400), V(5, 1, 2258, 400), 8, 0, ' '},
    {"\\d3d8.dll", Check::ByFirstNumber, V(4, 8, 1, 881), V(5, 1, 2600, 881), 8, 1, ' '},
    {"\\d3d8.dll", Check::ByFirstNumber, V(4, 8, 1, 901), V(5, 1, 2600, 901), 8, 1, 'a'},
    {"\\mpg2splt.ax", Check::AtLeast, V(6, 3, 1, 885), 0, 8, 1, 'b'},
    {"\\dpnet.dll", Check::ByFirstNumber, V(4, 9, 0, 134), V(5, 2, 3677, 134), 8, 2, ' '},
    {"\\d3d9.dll", Check::AnyVersion, 0, 0, 9, 0, ' '},
}};

bool Passes(const FileCheck& c, FileVersion version) {
  switch (c.check) {
    case Check::AtLeast:
      return version >= c.threshold;
    case Check::ByFirstNumber: {
      uint64_t first = version >> 48;
      if (first == 4) return version >= c.threshold;
      if (first == 5) return version >= c.threshold5;
      return false;
    }
    case Check::AnyVersion:
      return true;
    case Check::Version490:
      return false;
  }
  return false;
}

DirectXVersion FromFileVersions(DirectXSources& sources) {
  DirectXVersion result;
  if (!sources.HasSystemDirectory()) return result;
  bool anyFilePassed = false;
  for (const FileCheck& c : kFileChecks) {
    if (c.check == Check::Version490) {
      // Only adjusts the minor; on its own it does not count as a detection.
      if (sources.IsVersion490()) {
        result.minor = c.minor;
        result.letter = ' ';
      }
      continue;
    }
    std::optional<FileVersion> version = sources.SystemFileVersion(c.file);
    if (!version || !Passes(c, *version)) continue;
    result.major = c.major;
    result.minor = c.minor;
    result.letter = c.letter;
    anyFilePassed = true;
  }
  if (!anyFilePassed) return DirectXVersion{};
  return result;
}

}  // namespace

DirectXVersion DetectDirectXVersion(DirectXSources& sources) {
  if (std::optional<DirectXDiagnosticVersion> provider = sources.QueryDiagnosticProvider()) {
    DirectXVersion v;
    v.major = static_cast<int>(provider->major);
    v.minor = static_cast<int>(provider->minor);
    v.letter = provider->letter == '\0' ? ' ' : provider->letter;
    return v;
  }
  return FromFileVersions(sources);
}

std::string FormatDirectXVersion(const DirectXVersion& version) {
  char text[32];
  char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(version.letter)));
  if (letter == ' ') {
    std::snprintf(text, sizeof text, "%d.%d", version.major, version.minor);
  } else {
    std::snprintf(text, sizeof text, "%d.%d%c", version.major, version.minor, letter);
  }
  std::string out(text);
  if (out.size() > 15) out.resize(15);
  return out;
}

}  // namespace velora
