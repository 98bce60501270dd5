#include "core/app_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/app_paths.h"

namespace velora {

AppLog::~AppLog() {
  if (fd_ >= 0) close(fd_);
}

void AppLog::Write(const std::string& text) {
  if (path_.empty()) return;
  std::lock_guard<std::mutex> lock(write_);
  if (!opened_) {
    opened_ = true;
    // A new file of our own, held for the run: a link planted where the log goes (by another
    // user who may write the folder) is never followed, whoever runs the program.
    unlink(path_.c_str());
    fd_ = open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
               0644);
  }
  if (fd_ < 0) return;
  const std::string line = text + "\n";
  size_t done = 0;
  while (done < line.size()) {
    const ssize_t wrote = write(fd_, line.data() + done, line.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;
    done += static_cast<size_t>(wrote);
  }
}

AppLog& ProgramLog() {
  static AppLog log(logPath());
  return log;
}

void writeLog(const std::string& text) { ProgramLog().Write(text); }

}  // namespace velora
