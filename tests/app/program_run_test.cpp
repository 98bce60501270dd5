// The built program, copied under another name into a folder of its own and run headless.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <algorithm>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadLines;
using testing::ReadText;
using testing::TempFolder;
using Lines = std::vector<std::string>;

class ProgramRun : public ::testing::Test {
 protected:
  void Install(bool withLibrary) {
    namespace fs = std::filesystem;
    fs::copy_file(VELORA_BIN_DIR "/velora09", program.file("bench"));
    // The engine the program links travels with it.
    fs::copy_file(VELORA_BIN_DIR "/libvelora09.so", program.file("libvelora09.so"));
    if (withLibrary) fs::copy_file(VELORA_BIN_DIR "/libprobix.so", program.file("libprobix.so"));
  }
  void Start() {
    std::string exe = program.file("bench");
    runtimeEnv = "XDG_RUNTIME_DIR=" + runtime.path();
    std::vector<char*> env{runtimeEnv.data(), const_cast<char*>("QT_QPA_PLATFORM=offscreen"),
                           nullptr};
    char* argv[] = {exe.data(), nullptr};
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, env.data()), 0);
  }
  // Waits up to 20 s for the log to reach line; false on time-out.
  bool WaitForLogLine(const std::string& line) {
    for (int i = 0; i < 200; ++i) {
      for (const std::string& l : ReadLines(program.file("bench.log"))) {
        if (l == line) return true;
      }
      usleep(100 * 1000);
    }
    return false;
  }
  // The exit code after SIGTERM, or -1 when the program did not end.
  int TerminateAndWait() {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(100 * 1000);
    }
    return -1;
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  TempFolder runtime, program;
  std::string runtimeEnv;
  pid_t pid = 0;
};

TEST_F(ProgramRun, RenamedProgramUsesItsOwnSettingsAndLog) {
  Install(true);
  Start();
  ASSERT_TRUE(WaitForLogLine("Velora Initialize OK!!"));
  ASSERT_TRUE(WaitForLogLine("Inventory Initialize OK!"));
  EXPECT_EQ(TerminateAndWait(), 0);
  // The inventory collector's lines come from its own thread, between the window's; the Disk
  // page's come while the pages are made.
  const Lines window{"Velora Execute Start",   "Velora Initialize Start",  "Probix.dll Init Start",
                     "Probix.dll Init OK!!",   "Get HDD Infomation Start", "Get HDD Infomation OK!",
                     "Velora Initialize OK!!", "Velora Execute End"};
  Lines windowLines, collectorLines;
  for (const std::string& line : ReadLines(program.file("bench.log"))) {
    const bool ours = std::find(window.begin(), window.end(), line) != window.end();
    (ours ? windowLines : collectorLines).push_back(line);
  }
  EXPECT_EQ(windowLines, window);
  ASSERT_FALSE(collectorLines.empty());
  EXPECT_EQ(collectorLines.front(), "Inventory Initialize Start");
  EXPECT_EQ(collectorLines.back(), "Inventory Initialize OK!");
  EXPECT_NE(ReadText(program.file("bench.ini")).find("Language=jp"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(program.file("velora09.ini")));
  EXPECT_FALSE(std::filesystem::exists(program.file("velora09.log")));
}

TEST_F(ProgramRun, MissingProbeLibraryEndsWithExitCodeZeroAfterTheMessage) {
  Install(false);
  Start();
  ASSERT_TRUE(WaitForLogLine("Probix.dll Init Start"));
  // The message box is up; closing it ends the process without the shutdown steps.
  usleep(500 * 1000);
  ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the message waits for its OK";
  EXPECT_EQ(TerminateAndWait(), 0);
  EXPECT_EQ(ReadLines(program.file("bench.log")),
            (Lines{"Velora Execute Start", "Velora Initialize Start", "Probix.dll Init Start"}));
}

// Words that end the start at once, before any window: what each prints and its exit code.
TEST_F(ProgramRun, WordsThatEndTheStartAtOnce) {
  Install(true);
  testing::WriteText(program.file("junk.txt"), "hello\n");
  const std::string missing = program.file("no-such-recording");
  struct Case {
    std::vector<std::string> words;
    int exitCode;
    const char* printedFile;  // "out" or "err"
    std::string says;
  };
  const Case cases[] = {
      {{"--version"}, 0, "out", "velora09 0.9.115\n"},
      {{"--help"}, 0, "out", "usage: velora09 [--from PATH ...]"},
      {{"--from"}, 2, "err", "--from needs a recording"},
      {{"--from", missing}, 2, "err", missing + ": No such file or directory"},
      {{"--from", program.file("junk.txt")}, 2, "err", "junk.txt: is a file of no known kind"},
      {{"--no-such-word"}, 2, "err", "unknown option --no-such-word"},
  };
  for (const Case& c : cases) {
    std::string exe = program.file("bench");
    std::vector<char*> argv{exe.data()};
    std::vector<std::string> words = c.words;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    runtimeEnv = "XDG_RUNTIME_DIR=" + runtime.path();
    std::vector<char*> env{runtimeEnv.data(), const_cast<char*>("QT_QPA_PLATFORM=offscreen"),
                           nullptr};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const std::string out = program.file("out"), err = program.file("err");
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), &files, nullptr, argv.data(), env.data()), 0);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    pid = 0;
    ASSERT_TRUE(WIFEXITED(status)) << c.words.front();
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.words.front();
    EXPECT_NE(ReadText(program.file(c.printedFile)).find(c.says), std::string::npos)
        << c.words.front() << ": " << ReadText(program.file(c.printedFile));
  }
  EXPECT_FALSE(std::filesystem::exists(program.file("bench.log"))) << "no start got that far";
}

}  // namespace
}  // namespace velora
