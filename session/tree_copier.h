#pragma once
// Copies chosen files of a system tree (sysfs, procfs, /etc, /run) into a recording's folder,
// keeping the structure the collectors walk: every folder on the way is made and every link
// met is made again with its target as it stands, so paths resolve in the copy as they did on
// the machine. Only the files asked for are read, without blocking and up to a limit; what is
// no plain file (a FIFO, a device) is never opened, and a link that leads outside the tree is
// neither made nor followed. Files keep their modification times.

#include <time.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velora {

class TreeCopier {
 public:
  // The file's bytes as they go into the copy; nullopt leaves the file out.
  using Edit = std::function<std::optional<std::string>(std::string)>;

  // source stands for "/" ("" on this machine); target is the existing folder of the copy.
  TreeCopier(std::string source, std::string target);

  // Copies the file at path ("/sys/block/sda/size", from the root), or makes the folder there,
  // with the folders and links leading to it. False when it is absent, leads outside, is
  // neither a plain file nor a folder, cannot be read, is too large, or edit left it out.
  // copied, when given, receives the bytes as they went into the copy.
  bool Copy(const std::string& path, const Edit& edit = {}, std::string* copied = nullptr);
  // Where path leads on the machine, every link followed ("/sys/devices/.../block/sda"), making
  // the way in the copy; nullopt as Copy fails.
  std::optional<std::string> Reached(const std::string& path);
  // The names in the folder at path (reached as Copy reaches it, and made in the copy),
  // sorted, at most kMostNames; empty when there is none.
  std::vector<std::string> List(const std::string& path);

  // The first failure to write the copy (a full disk): once set, nothing more is written.
  const std::string& writeError() const { return writeError_; }
  size_t filesCopied() const { return filesCopied_; }

  static constexpr size_t kLargestFile = 4u << 20;
  static constexpr size_t kMostNames = 4096;
  static constexpr int kMostLinks = 40;

 private:
  enum class Kind { kNone, kFolder, kFile };
  // Follows path from the root, making folders and links in the copy; where it ends up.
  Kind Walk(const std::string& path, std::string& reached);
  bool MakeLink(const std::string& at, const std::string& target);
  std::optional<std::string> ReadPlainFile(const std::string& path, timespec& modified);

  std::string source_;
  std::string target_;
  std::string writeError_;
  size_t filesCopied_ = 0;
};

}  // namespace velora
