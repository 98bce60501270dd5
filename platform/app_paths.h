#pragma once
// Where the program keeps its settings file and its log: named after the program file, beside
// it when that folder is writable, else in the user's configuration and state folders.

#include <string>

namespace velora {

// The file name of path without its own extension ("/opt/v.1/velora09" and
// "/opt/v.1/velora09.bin" both give "velora09"); a dot in a folder name does not count.
std::string ProgramNameOf(const std::string& exePath);

struct PathEnvironment {
  std::string home;           // $HOME
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME, may be empty
  std::string xdgStateHome;   // $XDG_STATE_HOME, may be empty
  bool programFolderWritable = true;
};

// The program folder counts as writable only where the program is not installed: beside an
// installed program (programFolder/../share/velora09 exists) the per-user folders are used.
PathEnvironment CurrentPathEnvironment(const std::string& programFolder);

// folder/<name>.ini and folder/<name>.log, or the per-user folders when the program folder is
// not writable.
std::string SettingsPathFor(const std::string& exePath, const PathEnvironment& env);
std::string LogPathFor(const std::string& exePath, const PathEnvironment& env);

// Full path of the running program file.
std::string ProgramFilePath();

constexpr const char* kWindowProgramName = "velora09";
constexpr const char* kCommandLineName = "velora";

// The file whose name the settings and log take: the running program, or for the command line
// the window program beside it.
std::string SettingsOwnerPath();

// The paths of the running program; computed on every call, they never change during a run.
std::string programFolder();
std::string settingsPath();
std::string logPath();

// programFolder()/name.
std::string ProgramFolderFile(const std::string& name);

}  // namespace velora
