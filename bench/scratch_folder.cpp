#include "bench/scratch_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace velora {

namespace {

constexpr size_t kRandomLetters = 6;
// A folder without its lock file may be one another run is just making; only an old one is
// taken for a run that died in between.
constexpr time_t kUnlockedFolderGraceSeconds = 60;

// The folders this process has open, for removal from a signal handler: plain descriptors and
// fixed-size names, published through an atomic state.
struct EmergencySlot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 live
  int rootFd = -1;
  int dirFd = -1;
  char name[32] = {};
  char file[40] = {};
};
std::array<EmergencySlot, 4> emergencySlots;

EmergencySlot* Register(int rootFd, int dirFd, const std::string& name) {
  for (EmergencySlot& slot : emergencySlots) {
    int expected = 0;
    if (!slot.state.compare_exchange_strong(expected, 1)) continue;
    slot.rootFd = rootFd;
    slot.dirFd = dirFd;
    std::snprintf(slot.name, sizeof slot.name, "%s", name.c_str());
    std::snprintf(slot.file, sizeof slot.file, "%s.tmp", name.c_str());
    slot.state.store(2);
    return &slot;
  }
  return nullptr;
}

void Unregister(int dirFd) {
  for (EmergencySlot& slot : emergencySlots) {
    if (slot.state.load() == 2 && slot.dirFd == dirFd) slot.state.store(0);
  }
}

// "Velora" and six letters or digits as mkdtemp makes them; the eight hexadecimal digits of
// earlier runs' clock-made names are still cleaned up.
bool IsScratchName(const char* name) {
  if (std::strncmp(name, "Velora", 6) != 0) return false;
  const size_t length = std::strlen(name);
  const bool madeByClock = length == 14;
  if (length != 6 + kRandomLetters && !madeByClock) return false;
  for (size_t i = 6; i < length; ++i) {
    const char c = name[i];
    const bool hexDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (madeByClock ? !hexDigit : std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

// Makes a new folder with an unpredictable name inside the folder of rootFd, 0700; its name, or
// empty with errno. The template goes through the descriptor when /proc offers it, so the
// folder lands where rootFd is even if the root's path was swapped meanwhile.
std::string MakeUnpredictableFolder(int rootFd, const std::string& rootPath) {
  const std::string viaDescriptor = "/proc/self/fd/" + std::to_string(rootFd);
  const std::string parent = access(viaDescriptor.c_str(), X_OK) == 0 ? viaDescriptor : rootPath;
  std::string pattern = parent + "/Velora" + std::string(kRandomLetters, 'X');
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern.substr(pattern.size() - 6 - kRandomLetters);
}

// Removes the plain files inside a folder we own; a sub-folder would make rmdir fail, which
// leaves the folder alone, as it should be when it holds something we did not put there.
void EmptyFolder(int dirFd) {
  const int listFd = dup(dirFd);
  if (listFd < 0) return;
  DIR* dir = fdopendir(listFd);
  if (dir == nullptr) {
    close(listFd);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  }
  closedir(dir);
  for (const std::string& name : names) unlinkat(dirFd, name.c_str(), 0);
}

bool StaleFolder(int dirFd) {
  struct stat info {};
  if (fstat(dirFd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
    return false;
  // A live run holds the lock on its folder for as long as the folder exists.
  if (flock(dirFd, LOCK_EX | LOCK_NB) != 0) return false;
  if (faccessat(dirFd, kScratchLockName, F_OK, AT_SYMLINK_NOFOLLOW) == 0) return true;
  return time(nullptr) - info.st_mtime > kUnlockedFolderGraceSeconds;
}

void WriteProcessId(int fd) {
  char text[24];
  const int length = std::snprintf(text, sizeof text, "%ld\n", static_cast<long>(getpid()));
  if (length > 0) (void)!write(fd, text, static_cast<size_t>(length));
}

}  // namespace

int RemoveStaleScratchFolders(const std::string& root) {
  const int rootFd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return 0;
  std::vector<std::string> candidates;
  if (DIR* dir = fdopendir(dup(rootFd))) {
    while (const dirent* entry = readdir(dir)) {
      if (IsScratchName(entry->d_name)) candidates.emplace_back(entry->d_name);
    }
    closedir(dir);
  }
  int removed = 0;
  for (const std::string& name : candidates) {
    const int dirFd =
        openat(rootFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) continue;
    if (StaleFolder(dirFd)) {
      EmptyFolder(dirFd);
      removed += unlinkat(rootFd, name.c_str(), AT_REMOVEDIR) == 0;
    }
    close(dirFd);
  }
  close(rootFd);
  return removed;
}

std::optional<ScratchFolder> ScratchFolder::Create(const std::string& root,
                                                   ScratchFailure& failure) {
  failure = {ScratchFailureKind::kNotWritable, root, 0};
  if (root.empty()) return std::nullopt;
  const int rootFd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) {
    failure.error = errno;
    return std::nullopt;
  }
  if (faccessat(rootFd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
    failure.error = errno;
    close(rootFd);
    return std::nullopt;
  }
  const std::string prefix = root.back() == '/' ? root : root + "/";
  const std::string name = MakeUnpredictableFolder(rootFd, prefix);
  if (name.empty()) {
    failure.error = errno;
    failure.path = prefix + "Velora*";
    close(rootFd);
    return std::nullopt;
  }
  const int dirFd = openat(rootFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  const int lockFd = dirFd < 0 || flock(dirFd, LOCK_EX | LOCK_NB) != 0
                         ? -1
                         : openat(dirFd, kScratchLockName,
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lockFd < 0) {
    failure.error = errno;
    failure.path = prefix + name;
    if (dirFd >= 0) close(dirFd);
    unlinkat(rootFd, name.c_str(), AT_REMOVEDIR);
    close(rootFd);
    return std::nullopt;
  }
  WriteProcessId(lockFd);
  return ScratchFolder(rootFd, dirFd, lockFd, name, prefix + name);
}

ScratchFolder::ScratchFolder(int rootFd, int dirFd, int lockFd, std::string name,
                             std::string path)
    : rootFd_(rootFd), dirFd_(dirFd), lockFd_(lockFd), name_(std::move(name)),
      path_(std::move(path)) {
  Register(rootFd_, dirFd_, name_);
}

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept
    : rootFd_(other.rootFd_), dirFd_(other.dirFd_), lockFd_(other.lockFd_),
      name_(std::move(other.name_)), path_(std::move(other.path_)) {
  other.rootFd_ = other.dirFd_ = other.lockFd_ = -1;
}

ScratchFolder& ScratchFolder::operator=(ScratchFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    rootFd_ = std::exchange(other.rootFd_, -1);
    dirFd_ = std::exchange(other.dirFd_, -1);
    lockFd_ = std::exchange(other.lockFd_, -1);
    name_ = std::move(other.name_);
    path_ = std::move(other.path_);
  }
  return *this;
}

ScratchFolder::~ScratchFolder() { Remove(); }

void ScratchFolder::Remove() {
  if (dirFd_ < 0) return;
  Unregister(dirFd_);
  EmptyFolder(dirFd_);
  unlinkat(rootFd_, name_.c_str(), AT_REMOVEDIR);
  close(lockFd_);
  close(dirFd_);
  close(rootFd_);
  rootFd_ = dirFd_ = lockFd_ = -1;
}

std::string ScratchFolder::FileName() const { return name_ + ".tmp"; }

int ScratchFolder::CreateFile(const std::string& fileName, int extraFlags) const {
  return openat(dirFd_, fileName.c_str(),
                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | extraFlags, 0600);
}

int ScratchFolder::OpenFile(const std::string& fileName, int extraFlags) const {
  return openat(dirFd_, fileName.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | extraFlags);
}

bool ScratchFolder::FileExists(const std::string& fileName) const {
  return faccessat(dirFd_, fileName.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
}

void ScratchFolder::RemoveFile(const std::string& fileName) const {
  unlinkat(dirFd_, fileName.c_str(), 0);
}

std::string ScratchFolder::PathForOthers(const std::string& fileName, size_t limit) const {
  const std::string viaDescriptor = "/proc/self/fd/" + std::to_string(dirFd_);
  if (access(viaDescriptor.c_str(), X_OK) == 0) {
    const std::string path = viaDescriptor + "/" + fileName;
    if (path.size() <= limit) return path;
  }
  const std::string plain = path_ + "/" + fileName;
  if (plain.size() <= limit) return plain;
  errno = ENAMETOOLONG;
  return {};
}

void RemoveScratchFoldersNow() {
  for (EmergencySlot& slot : emergencySlots) {
    if (slot.state.load() != 2) continue;
    // Without a readdir (not safe here), the folder's files are the ones a run makes.
    unlinkat(slot.dirFd, kScratchLockName, 0);
    unlinkat(slot.dirFd, slot.file, 0);
    unlinkat(slot.rootFd, slot.name, AT_REMOVEDIR);
  }
}

}  // namespace velora
