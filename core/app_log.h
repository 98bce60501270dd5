#pragma once
// The progress log: recreated at the first line of every run, one line per event, no time
// stamps. Lines that cannot be written are dropped.

#include <mutex>
#include <string>

namespace velora {

class AppLog {
 public:
  explicit AppLog(std::string path) : path_(std::move(path)) {}

  // The first call deletes the old log; every call appends one whole line.
  void Write(const std::string& text);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::once_flag fresh_;
  // Lines of the GUI thread and the collector thread stay whole.
  std::mutex write_;
};

// The log of the running program (logPath()).
AppLog& ProgramLog();

void writeLog(const std::string& text);

}  // namespace velora
