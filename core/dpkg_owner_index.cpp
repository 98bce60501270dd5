#include "core/dpkg_owner_index.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string_view>
#include <unordered_map>

namespace velora {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Only shared objects are ever asked for; other listed files are not kept.
bool MayBeAsked(std::string_view path) { return path.find(".so") != std::string_view::npos; }

struct Stamp {
  int64_t seconds = -1;
  int64_t nanoseconds = 0;
  int64_t size = -1;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {};
  return {st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size};
}

struct Release {
  std::string architecture;
  std::string version;
};

// dpkg's data as far as it has been read, for one info folder and status file.
class OwnerIndex {
 public:
  OwnerIndex(std::string infoFolder, std::string statusFile)
      : infoFolder_(std::move(infoFolder)), statusFile_(std::move(statusFile)) {}

  bool Current(const std::string& infoFolder, const std::string& statusFile) const {
    return infoFolder == infoFolder_ && statusFile == statusFile_ && StampOf(infoFolder) == infoStamp_ &&
           StampOf(statusFile) == statusStamp_;
  }

  std::string VersionOf(const std::vector<std::string>& paths) {
    if (!listed_) ListPackages();
    std::string owner = Lookup(paths);
    for (const std::string& path : paths) {
      if (!owner.empty()) break;
      const std::string stem = PackageNameStem(path);
      if (stem.empty()) continue;
      for (auto it = lists_.lower_bound(stem); it != lists_.end() && StartsWith(*it, stem); ++it)
        Read(*it);
      owner = Lookup(paths);
    }
    // Packaged under another name (libm in libc6): the package that declares the library's
    // shared-object name to the linker.
    if (owner.empty()) {
      if (!declarationsRead_) ReadDeclarations();
      for (const std::string& path : paths)
        if (auto it = declared_.find(SharedObjectKey(path)); it != declared_.end()) Read(it->second);
      owner = Lookup(paths);
    }
    if (owner.empty() && !allRead_) {
      for (const std::string& list : lists_) Read(list);
      allRead_ = true;
      owner = Lookup(paths);
    }
    return owner.empty() ? "" : PackageVersion(owner);
  }

 private:
  void ListPackages() {
    listed_ = true;
    infoStamp_ = StampOf(infoFolder_);
    statusStamp_ = StampOf(statusFile_);
    DIR* dir = opendir(infoFolder_.c_str());
    if (dir == nullptr) return;
    while (dirent* entry = readdir(dir)) {
      std::string_view name = entry->d_name;
      if (name.size() > 5 && name.substr(name.size() - 5) == ".list")
        lists_.emplace(name.substr(0, name.size() - 5));
      else if (name.size() > 7 && name.substr(name.size() - 7) == ".shlibs")
        declarations_.emplace_back(name.substr(0, name.size() - 7));
    }
    closedir(dir);
  }

  // Lines "libm 6 libc6 (>= 2.36)": library name and version, then the dependency to use.
  void ReadDeclarations() {
    declarationsRead_ = true;
    for (const std::string& package : declarations_) {
      std::ifstream in(infoFolder_ + "/" + package + ".shlibs");
      std::string name, version;
      for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        if (fields >> name >> version && name.back() != ':' && name[0] != '#')
          declared_.emplace(name + " " + version, package);
      }
    }
  }

  void Read(const std::string& list) {
    if (!read_.insert(list).second) return;
    std::ifstream in(infoFolder_ + "/" + list + ".list");
    std::string line;
    // The first list to name a file owns it, as in a scan of the lists.
    while (std::getline(in, line))
      if (MayBeAsked(line)) owners_.emplace(line, list);
  }

  std::string Lookup(const std::vector<std::string>& paths) const {
    for (const std::string& path : paths)
      if (auto it = owners_.find(path); it != owners_.end()) return it->second;
    return "";
  }

  // The first stanza of the package (of the list's architecture, where it names one) with a
  // version.
  std::string PackageVersion(const std::string& list) {
    if (!statusRead_) ReadStatus();
    std::string package = list, arch;
    if (size_t colon = list.find(':'); colon != std::string::npos) {
      package = list.substr(0, colon);
      arch = list.substr(colon + 1);
    }
    auto it = releases_.find(package);
    if (it == releases_.end()) return "";
    for (const Release& r : it->second)
      if (arch.empty() || r.architecture == arch) return UpstreamVersion(r.version);
    return "";
  }

  void ReadStatus() {
    statusRead_ = true;
    std::ifstream in(statusFile_);
    std::string line, name;
    Release release;
    auto keep = [&] {
      if (!name.empty() && !release.version.empty()) releases_[name].push_back(release);
      name.clear();
      release = Release{};
    };
    while (std::getline(in, line)) {
      if (line.empty()) keep();
      else if (StartsWith(line, "Package: ")) name = line.substr(9);
      else if (StartsWith(line, "Architecture: ")) release.architecture = line.substr(14);
      else if (StartsWith(line, "Version: ")) release.version = line.substr(9);
    }
    keep();
  }

  const std::string infoFolder_;
  const std::string statusFile_;
  Stamp infoStamp_, statusStamp_;
  bool listed_ = false;
  bool allRead_ = false;
  bool statusRead_ = false;
  bool declarationsRead_ = false;
  std::set<std::string> lists_;  // "package:arch", in name order
  std::vector<std::string> declarations_;  // packages with shared-library declarations
  std::unordered_map<std::string, std::string> declared_;  // "libm 6" to its package
  std::set<std::string> read_;
  std::unordered_map<std::string, std::string> owners_;  // listed path to its list
  std::map<std::string, std::vector<Release>> releases_;
};

}  // namespace

std::string SharedObjectKey(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t so = base.find(".so.");
  if (so == 0 || so == std::string::npos || so + 4 >= base.size()) return "";
  return base.substr(0, so) + " " + base.substr(so + 4);
}

std::string PackageNameStem(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t so = base.find(".so");
  if (so == std::string::npos || so == 0) return "";
  std::string stem;
  for (char c : base.substr(0, so)) {
    if (c == '-' || c == '.' || c == '_') break;
    stem.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return stem;
}

std::string UpstreamVersion(std::string v) {
  size_t colon = v.find(':');
  if (colon != std::string::npos) v = v.substr(colon + 1);
  size_t dash = v.rfind('-');
  if (dash != std::string::npos && dash > 0) v.resize(dash);
  return v;
}

std::string OwningPackageVersion(const std::vector<std::string>& paths,
                                 const std::string& infoFolder, const std::string& statusFile) {
  static std::mutex mutex;
  static std::unique_ptr<OwnerIndex> index;
  std::lock_guard lock(mutex);
  if (!index || !index->Current(infoFolder, statusFile))
    index = std::make_unique<OwnerIndex>(infoFolder, statusFile);
  return index->VersionOf(paths);
}

}  // namespace velora
