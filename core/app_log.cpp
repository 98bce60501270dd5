#include "core/app_log.h"

#include <unistd.h>

#include <cstdio>

#include "platform/app_paths.h"

namespace velora {

void AppLog::Write(const std::string& text) {
  std::call_once(fresh_, [this] { unlink(path_.c_str()); });
  std::lock_guard<std::mutex> lock(write_);
  FILE* file = std::fopen(path_.c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", text.c_str());
  std::fclose(file);
}

AppLog& ProgramLog() {
  static AppLog log(logPath());
  return log;
}

void writeLog(const std::string& text) { ProgramLog().Write(text); }

}  // namespace velora
