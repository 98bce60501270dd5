#include "core/file_version.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/dpkg_owner_index.h"

namespace velora {
namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string out(real);
  std::free(real);
  return out;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Leading "digits(.digits)*" of text.
std::string DottedNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() &&
         ((text[i] >= '0' && text[i] <= '9') || (text[i] == '.' && i > 0 && i + 1 < text.size() &&
                                                 text[i + 1] >= '0' && text[i + 1] <= '9'))) {
    ++i;
  }
  return std::string(text.substr(0, i));
}

using TextFn = const char* (*)();

std::string AskZlib(void* h) {
  auto fn = reinterpret_cast<TextFn>(dlsym(h, "zlibVersion"));
  return fn ? fn() : "";
}
std::string AskLibc(void* h) {
  auto fn = reinterpret_cast<TextFn>(dlsym(h, "gnu_get_libc_version"));
  return fn ? fn() : "";
}
std::string AskCurl(void* h) {
  // "libcurl/7.88.1 OpenSSL/3.0.11 ..."
  auto fn = reinterpret_cast<const char* (*)()>(dlsym(h, "curl_version"));
  if (!fn) return "";
  std::string_view v = fn();
  size_t slash = v.find('/');
  return slash == std::string_view::npos ? "" : DottedNumber(v.substr(slash + 1));
}
std::string AskPng(void* h) {
  auto fn = reinterpret_cast<const char* (*)(void*)>(dlsym(h, "png_get_libpng_ver"));
  return fn ? fn(nullptr) : "";
}
std::string AskFontconfig(void* h) {
  auto fn = reinterpret_cast<int (*)()>(dlsym(h, "FcGetVersion"));
  if (!fn) return "";
  int v = fn();  // major * 10000 + minor * 100 + revision
  return std::to_string(v / 10000) + "." + std::to_string(v / 100 % 100) + "." +
         std::to_string(v % 100);
}
std::string AskCairo(void* h) {
  auto fn = reinterpret_cast<TextFn>(dlsym(h, "cairo_version_string"));
  return fn ? fn() : "";
}
std::string AskSdl2(void* h) {
  struct SdlVersion {
    unsigned char major, minor, patch;
  };
  auto fn = reinterpret_cast<void (*)(SdlVersion*)>(dlsym(h, "SDL_GetVersion"));
  if (!fn) return "";
  SdlVersion v{};
  fn(&v);
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

struct KnownLibrary {
  const char* namePrefix;  // of the real file name
  std::string (*ask)(void*);
};

constexpr KnownLibrary kKnownLibraries[] = {
    {"libz.so", AskZlib},
    {"libc.so", AskLibc},
    {"libc-", AskLibc},
    {"libcurl.so", AskCurl},
    {"libcurl-", AskCurl},
    {"libpng16.so", AskPng},
    {"libfontconfig.so", AskFontconfig},
    {"libcairo.so", AskCairo},
    {"libSDL2-2.0.so", AskSdl2},
};

std::string AskLibraryItself(const std::string& path) {
  std::string base = BaseName(path);
  for (const KnownLibrary& known : kKnownLibraries) {
    if (!StartsWith(base, known.namePrefix)) continue;
    void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (h == nullptr) return "";
    std::string text = known.ask(h);
    dlclose(h);
    return text;
  }
  return "";
}

std::string AskPackage(const std::string& asked, const std::string& real,
                       const FileVersionSources& sources) {
  // With a merged /usr the package may list /lib/... for a file found as /usr/lib/...
  std::vector<std::string> paths{asked, real};
  for (const std::string& p : {asked, real}) {
    if (StartsWith(p, "/usr/"))
      paths.push_back(p.substr(4));
    else
      paths.push_back("/usr" + p);
  }
  return OwningPackageVersion(paths, sources.dpkgInfoFolder, sources.dpkgStatusFile);
}

// "libpng16.so.16.39.0" gives "16.39.0".
std::string NameSuffixVersion(const std::string& path) {
  std::string base = BaseName(path);
  size_t so = base.find(".so.");
  if (so == std::string::npos) return "";
  return DottedNumber(std::string_view(base).substr(so + 4));
}

}  // namespace

std::string ResolveLibraryFile(const std::string& fileName, const FileVersionSources& sources) {
  if (fileName.empty()) return "";
  if (fileName.find('/') != std::string::npos) return IsFile(fileName) ? fileName : "";
  std::vector<std::string> folders;
  if (sources.useLdLibraryPath) {
    if (const char* env = std::getenv("LD_LIBRARY_PATH")) {
      std::string_view list = env;
      while (!list.empty()) {
        size_t sep = list.find(':');
        std::string_view part = list.substr(0, sep);
        if (!part.empty()) folders.emplace_back(part);
        if (sep == std::string_view::npos) break;
        list.remove_prefix(sep + 1);
      }
    }
  }
  folders.insert(folders.end(), sources.libraryFolders.begin(), sources.libraryFolders.end());
  for (const std::string& folder : folders) {
    std::string candidate = folder + "/" + fileName;
    if (IsFile(candidate)) return candidate;
  }
  return "";
}

std::string LibraryVersionText(const std::string& fileName, const FileVersionSources& sources) {
  std::string found = ResolveLibraryFile(fileName, sources);
  if (found.empty()) return "";
  std::string real = RealPath(found);
  std::string text;
  if (sources.askLibrary) text = AskLibraryItself(real);
  if (text.empty()) text = AskPackage(found, real, sources);
  if (text.empty()) text = NameSuffixVersion(real);
  if (text.size() > kFileVersionCapacity - 1) text.resize(kFileVersionCapacity - 1);
  return text;
}

int VersionNumberOf(const std::string& text) {
  // from_chars ignores the locale, which the widget toolkit sets from the environment.
  double value = 0;
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  auto [end, error] = std::from_chars(begin, text.c_str() + text.size(), value);
  if (error != std::errc() || end == begin) return 0;
  double scaled = std::trunc(value * 100.0);
  if (!(scaled < 2147483647.0) || scaled < -2147483647.0) return 0;
  return static_cast<int>(scaled);
}

int FileVersionText(const char* fileName, char* buffer, const FileVersionSources& sources) {
  if (fileName == nullptr) return 0;
  std::string text = LibraryVersionText(fileName, sources);
  if (text.empty()) return 0;
  if (buffer != nullptr) std::memcpy(buffer, text.c_str(), text.size() + 1);
  return VersionNumberOf(text);
}

}  // namespace velora
