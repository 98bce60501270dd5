#pragma once
// A recorded sysfs tree made live in a folder of the test's own. The recordings keep each
// symbolic link as a small file holding its target ("../devices/..."); here they become links
// again, so code reads the tree exactly as it reads /sys.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velora::testing {

inline bool RecordedLinkTarget(const std::filesystem::path& file, std::string& target) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) > 1024)
    return false;
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  target = text.str();
  return target.rfind("../", 0) == 0 && target.find('\n') == std::string::npos;
}

inline void MaterializeRecordedTree(const std::filesystem::path& recorded,
                                    const std::filesystem::path& into) {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::recursive_directory_iterator(recorded)) {
    const fs::path target = into / fs::relative(entry.path(), recorded);
    std::string link;
    if (entry.is_directory()) {
      fs::create_directories(target);
    } else if (RecordedLinkTarget(entry.path(), link)) {
      fs::create_directories(target.parent_path());
      fs::create_symlink(link, target);
    } else {
      fs::create_directories(target.parent_path());
      fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
  }
}

}  // namespace velora::testing
