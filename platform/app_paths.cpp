#include "platform/app_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/program_folder.h"

namespace velora {
namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string Getenv(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

// The per-user folder of one kind, as the XDG base directories give it.
std::string UserFolder(const std::string& xdg, const std::string& home, const char* homeSuffix) {
  std::string base = !xdg.empty() && xdg.front() == '/' ? xdg : Join(home, homeSuffix);
  return Join(base, "velora09");
}

void MakeFolders(const std::string& folder) {
  // mkdir -p; failures show up later as a failed open, which the callers tolerate.
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos == folder.size() || folder[pos] == '/') {
      std::string part = folder.substr(0, pos);
      mkdir(part.c_str(), 0700);
    }
  }
}

std::string PathFor(const std::string& exePath, const PathEnvironment& env, const char* extension,
                    bool state) {
  std::string name = ProgramNameOf(exePath) + extension;
  if (env.programFolderWritable) return Join(FolderOf(exePath), name);
  std::string folder = state ? UserFolder(env.xdgStateHome, env.home, ".local/state")
                             : UserFolder(env.xdgConfigHome, env.home, ".config");
  return Join(folder, name);
}

}  // namespace

std::string ProgramNameOf(const std::string& exePath) {
  size_t slash = exePath.rfind('/');
  std::string file = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  size_t dot = file.rfind('.');
  // A leading dot is part of a hidden file's name, not an extension.
  if (dot != std::string::npos && dot > 0) file.resize(dot);
  return file;
}

PathEnvironment CurrentPathEnvironment(const std::string& programFolder) {
  PathEnvironment env;
  env.home = Getenv("HOME");
  // Without HOME the files would land under "/.config": the password database knows better.
  if (env.home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
      env.home = entry->pw_dir;
  }
  env.xdgConfigHome = Getenv("XDG_CONFIG_HOME");
  env.xdgStateHome = Getenv("XDG_STATE_HOME");
  // An installed program (its shared files in ../share/velora09) never writes into its bin
  // folder, even for root, for whom /usr/bin is writable: the package manager owns it.
  const bool installed = access(Join(programFolder, "../share/velora09").c_str(), F_OK) == 0;
  env.programFolderWritable = !installed && access(programFolder.c_str(), W_OK) == 0;
  return env;
}

std::string SettingsPathFor(const std::string& exePath, const PathEnvironment& env) {
  return PathFor(exePath, env, ".ini", false);
}

std::string LogPathFor(const std::string& exePath, const PathEnvironment& env) {
  return PathFor(exePath, env, ".log", true);
}

std::string ProgramFilePath() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  return std::string(path, static_cast<size_t>(n));
}

std::string programFolder() { return ProgramFolder(); }

// The command line shares the window program's settings and log, so both read one file.
std::string SettingsOwnerPath() {
  std::string exe = ProgramFilePath();
  if (ProgramNameOf(exe) == kCommandLineName) return Join(FolderOf(exe), kWindowProgramName);
  return exe;
}

std::string settingsPath() {
  std::string exe = SettingsOwnerPath();
  PathEnvironment env = CurrentPathEnvironment(FolderOf(exe));
  std::string path = SettingsPathFor(exe, env);
  if (!env.programFolderWritable) MakeFolders(FolderOf(path));
  return path;
}

std::string logPath() {
  std::string exe = SettingsOwnerPath();
  PathEnvironment env = CurrentPathEnvironment(FolderOf(exe));
  std::string path = LogPathFor(exe, env);
  if (!env.programFolderWritable) MakeFolders(FolderOf(path));
  return path;
}

std::string ProgramFolderFile(const std::string& name) { return Join(programFolder(), name); }

}  // namespace velora
