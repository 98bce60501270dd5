#pragma once
// The progress log: recreated at the first line of every run, one line per event, no time
// stamps. Lines that cannot be written are dropped.

#include <mutex>
#include <string>

namespace velora {

class AppLog {
 public:
  // An empty path writes nowhere.
  explicit AppLog(std::string path) : path_(std::move(path)) {}
  ~AppLog();
  AppLog(const AppLog&) = delete;
  AppLog& operator=(const AppLog&) = delete;

  // The first call replaces the old log by a new file, never through a link; every call
  // appends one whole line.
  void Write(const std::string& text);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  // Lines of the GUI thread and the collector thread stay whole.
  std::mutex write_;
  bool opened_ = false;
  int fd_ = -1;
};

// The log of the running program (logPath()).
AppLog& ProgramLog();

void writeLog(const std::string& text);

}  // namespace velora
