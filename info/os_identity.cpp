#include "info/os_identity.h"

#include <sys/utsname.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace velora {

namespace {

bool ValidKey(const std::string& key) {
  if (key.empty()) return false;
  for (char c : key) {
    if (!(c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
      return false;
  }
  return true;
}

// Shell-like quoting as os-release allows it: single quotes keep everything; in double quotes a
// backslash keeps a following $ " \ or `; bare, a backslash keeps any following character.
std::string Unquote(const std::string& raw) {
  std::string value = raw;
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
    value.pop_back();
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') {
    return value.substr(1, value.size() - 2);
  }
  const bool doubled = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (doubled) value = value.substr(1, value.size() - 2);
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char next = value[i + 1];
      if (!doubled || next == '$' || next == '"' || next == '\\' || next == '`') {
        out += next;
        ++i;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Value(const std::map<std::string, std::string>& m, const char* key) {
  auto it = m.find(key);
  return it == m.end() ? std::string() : it->second;
}

}  // namespace

std::map<std::string, std::string> ParseOsRelease(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    size_t equals = line.find('=', start);
    if (equals == std::string::npos) continue;
    std::string key = line.substr(start, equals - start);
    if (!ValidKey(key)) continue;
    values[key] = Unquote(line.substr(equals + 1));
  }
  return values;
}

OsIdentity OsIdentityFrom(const std::map<std::string, std::string>& osRelease,
                          const std::string& kernelRelease) {
  OsIdentity os;
  os.name = Value(osRelease, "NAME");
  // os-release's own default when the file says nothing.
  if (os.name.empty()) os.name = "Linux";
  os.edition = Value(osRelease, "VARIANT");
  os.servicePack = Value(osRelease, "VERSION");
  if (os.servicePack.empty()) os.servicePack = Value(osRelease, "VERSION_ID");
  if (os.servicePack.empty()) os.servicePack = Value(osRelease, "BUILD_ID");
  int major = 0, minor = 0;
  if (std::sscanf(kernelRelease.c_str(), "%d.%d", &major, &minor) == 2) {
    os.version = std::to_string(major) + "." + std::to_string(minor);
  }
  os.build = kernelRelease;
  os.displayName = os.servicePack.empty() ? os.name : os.name + " " + os.servicePack;
  return os;
}

OsIdentity IdentifyOperatingSystem(const std::string& root) {
  std::string text = ReadFile(root + "/etc/os-release");
  if (text.empty()) text = ReadFile(root + "/usr/lib/os-release");
  std::string release;
  if (root.empty()) {
    struct utsname names {};
    if (uname(&names) == 0) release = names.release;
  } else {
    // A recorded tree's kernel is the one it names, never the one running here.
    release = ReadFile(root + "/proc/sys/kernel/osrelease");
    while (!release.empty() && (release.back() == '\n' || release.back() == ' ')) release.pop_back();
  }
  return OsIdentityFrom(ParseOsRelease(text), release);
}

}  // namespace velora
