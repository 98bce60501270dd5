#include "session/tree_copier.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "session/new_files.h"

namespace velora {

namespace {

// Bounds the walk of one path, links included, against a tree of looping links.
constexpr size_t kMostSteps = 4096;

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    const size_t end = slash == std::string::npos ? path.size() : slash;
    if (end > start) parts.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string path;
  for (const std::string& part : parts) path += "/" + part;
  return path;
}

std::string WithoutTrailingSlash(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

// Whether a relative link in a folder depth levels below the root stays inside the root.
bool StaysInside(const std::vector<std::string>& target, size_t depth) {
  long level = static_cast<long>(depth);
  for (const std::string& part : target) {
    if (part == ".") continue;
    level += part == ".." ? -1 : 1;
    if (level < 0) return false;
  }
  return true;
}

}  // namespace

TreeCopier::TreeCopier(std::string source, std::string target)
    : source_(WithoutTrailingSlash(std::move(source))),
      target_(WithoutTrailingSlash(std::move(target))) {}

TreeCopier::Kind TreeCopier::Walk(const std::string& path, std::string& reached) {
  if (!writeError_.empty()) return Kind::kNone;
  std::vector<std::string> todo = Components(path);
  std::reverse(todo.begin(), todo.end());
  std::vector<std::string> at;
  int links = 0;
  size_t steps = 0;
  while (!todo.empty()) {
    if (++steps > kMostSteps) return Kind::kNone;
    const std::string name = std::move(todo.back());
    todo.pop_back();
    if (name == ".") continue;
    if (name == "..") {
      if (at.empty()) return Kind::kNone;
      at.pop_back();
      continue;
    }
    at.push_back(name);
    const std::string here = Joined(at);
    struct stat st {};
    if (lstat((source_ + here).c_str(), &st) != 0) return Kind::kNone;
    if (S_ISLNK(st.st_mode)) {
      char buffer[PATH_MAX];
      const ssize_t length = readlink((source_ + here).c_str(), buffer, sizeof buffer - 1);
      if (length <= 0 || ++links > kMostLinks) return Kind::kNone;
      const std::string target(buffer, static_cast<size_t>(length));
      std::vector<std::string> parts = Components(target);
      // An absolute target names this machine's root, not the tree's: it would lead out of it.
      if (target[0] == '/' || !StaysInside(parts, at.size() - 1)) return Kind::kNone;
      if (!MakeLink(here, target)) return Kind::kNone;
      at.pop_back();
      todo.insert(todo.end(), parts.rbegin(), parts.rend());
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      if (!MakeFolder(target_ + here, writeError_)) return Kind::kNone;
      continue;
    }
    if (S_ISREG(st.st_mode) && todo.empty()) {
      reached = here;
      return Kind::kFile;
    }
    return Kind::kNone;
  }
  reached = Joined(at);
  return Kind::kFolder;
}

bool TreeCopier::MakeLink(const std::string& at, const std::string& target) {
  const std::string link = target_ + at;
  if (symlink(target.c_str(), link.c_str()) == 0) return true;
  const int code = errno;
  if (code == EEXIST) {
    char buffer[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), buffer, sizeof buffer - 1);
    return length > 0 && std::string(buffer, static_cast<size_t>(length)) == target;
  }
  writeError_ = link + ": " + std::strerror(code);
  return false;
}

std::optional<std::string> TreeCopier::ReadPlainFile(const std::string& path, timespec& modified) {
  // Non-blocking: a file that was swapped for a FIFO after it was looked at does not stall us.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    modified = st.st_mtim;
    std::string text;
    char buffer[65536];
    for (;;) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got == 0) {
        bytes = std::move(text);
        break;
      }
      if (got < 0 || text.size() + static_cast<size_t>(got) > kLargestFile) break;
      text.append(buffer, static_cast<size_t>(got));
    }
  }
  close(fd);
  return bytes;
}

bool TreeCopier::Copy(const std::string& path, const Edit& edit, std::string* copied) {
  std::string reached;
  const Kind kind = Walk(path, reached);
  if (kind != Kind::kFile) return kind == Kind::kFolder;
  const std::string copy = target_ + reached;
  struct stat st {};
  if (lstat(copy.c_str(), &st) == 0) {  // reached before by another path
    timespec modified{};
    if (copied != nullptr) *copied = ReadPlainFile(copy, modified).value_or("");
    return true;
  }
  timespec modified{};
  std::optional<std::string> bytes = ReadPlainFile(source_ + reached, modified);
  if (bytes && edit) bytes = edit(std::move(*bytes));
  if (!bytes) return false;
  if (!WriteNewFile(copy, *bytes, writeError_, &modified)) return false;
  ++filesCopied_;
  if (copied != nullptr) *copied = std::move(*bytes);
  return true;
}

std::optional<std::string> TreeCopier::Reached(const std::string& path) {
  std::string reached;
  if (Walk(path, reached) == Kind::kNone) return std::nullopt;
  return reached;
}

std::vector<std::string> TreeCopier::List(const std::string& path) {
  std::vector<std::string> names;
  std::string reached;
  if (Walk(path, reached) != Kind::kFolder) return names;
  const std::string where = source_ + reached;
  DIR* folder = opendir(where.empty() ? "/" : where.c_str());
  if (folder == nullptr) return names;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (names.size() == kMostNames) break;
    names.push_back(name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace velora
