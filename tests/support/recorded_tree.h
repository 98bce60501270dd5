#pragma once
// A recorded machine tree (tests/data/recorded/sysfs/<machine>) copied into a test's own
// folder with its links made links again: the recording keeps each sysfs link as a small file
// holding the link's relative target (one "../" path without a line end), which no attribute
// file looks like.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velora::testing {

inline std::string RecordedSysfsFolder() { return std::string(VELORA_TESTDATA) + "/sysfs"; }

inline void CopyRecordedTree(const std::string& machine, const std::string& to) {
  namespace fs = std::filesystem;
  const fs::path from = fs::path(RecordedSysfsFolder()) / machine;
  for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path target = fs::path(to) / fs::relative(it->path(), from);
    if (it->is_directory()) {
      fs::create_directories(target);
      continue;
    }
    std::ifstream in(it->path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    fs::create_directories(target.parent_path());
    if (content.rfind("../", 0) == 0 && content.find('\n') == std::string::npos) {
      fs::create_symlink(content, target);
    } else {
      fs::copy_file(it->path(), target);
    }
  }
}

}  // namespace velora::testing
