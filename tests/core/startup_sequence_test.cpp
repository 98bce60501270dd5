#include "core/startup_sequence.h"

#include <dlfcn.h>

#include <cstdlib>

#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/single_instance.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::ReadLines;
using testing::TempFolder;
using testing::WriteText;
using Lines = std::vector<std::string>;

// Records what the window was asked to do, in order, with the log line count at each step.
class RecordingHost : public MainWindowHost {
 public:
  explicit RecordingHost(const std::string& logPath) : logPath_(logPath) {}
  void ShowMessage(const std::string& text, const std::string& caption) override {
    events.push_back("message " + caption + ": " + text);
  }
  void EndProcess(int exitCode) override { events.push_back("end " + std::to_string(exitCode)); }
  void CreatePages(ProbeObject* probe) override {
    char release[kProbeTextCapacity] = "";
    if (probe != nullptr) probe->GetString(1, release);
    events.push_back(std::string("pages ") + release + " after " +
                     std::to_string(ReadLines(logPath_).size()) + " lines");
  }
  void StartCollector() override { events.push_back("collector"); }
  void ShowFirstPage() override { events.push_back("first page"); }
  Lines events;

 private:
  std::string logPath_;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("VELORA_FAKE_DRIVER_STATUS"); }
  void TearDown() override { unsetenv("VELORA_FAKE_DRIVER_STATUS"); }

  bool Initialise(const std::string& libraryFolder, uint32_t flags = 0) {
    ProbeBinding binding(libraryFolder);
    Settings settings(dir.file("velora09.ini"));
    MainWindowContext context{binding, settings, log, [flags] { return flags; }, "velora09"};
    bool ok = InitialiseMainWindow(context, host);
    stillLoaded = binding.loaded();
    return ok;
  }
  Lines LogLines() { return ReadLines(dir.file("velora09.log")); }

  TempFolder dir;
  AppLog log{dir.file("velora09.log")};
  RecordingHost host{dir.file("velora09.log")};
  bool stillLoaded = true;
};

TEST_F(StartupTest, NormalInitialisationOrder) {
  ASSERT_TRUE(Initialise(VELORA_BIN_DIR));
  EXPECT_EQ(LogLines(), (Lines{"Velora Initialize Start", "Probix.dll Init Start",
                               "Probix.dll Init OK!!", "Velora Initialize OK!!"}));
  EXPECT_EQ(host.events, (Lines{"pages 275 after 3 lines", "collector", "first page"}));
  EXPECT_FALSE(stillLoaded) << "the library is released at the end of the initialisation";
}

TEST_F(StartupTest, NoWmiFlagSkipsTheCollector) {
  ASSERT_TRUE(Initialise(VELORA_BIN_DIR, kNoWmi));
  EXPECT_EQ(host.events, (Lines{"pages 275 after 3 lines", "first page"}));
  ASSERT_TRUE(Initialise(VELORA_BIN_DIR, kSafeMode | kPc98Mode));
  EXPECT_EQ(host.events.size(), 5u);
  EXPECT_EQ(host.events[3], "collector");
}

TEST_F(StartupTest, MissingLibraryShowsTheMessageAndEndsWithExitCodeZero) {
  if (void* h = dlopen(kProbeLibraryName, RTLD_NOW | RTLD_NOLOAD)) {
    dlclose(h);
    GTEST_SKIP() << "the search path already has the library";
  }
  TempFolder empty;
  log.Write("Velora Execute Start");
  EXPECT_FALSE(Initialise(empty.path()));
  EXPECT_EQ(host.events, (Lines{"message velora09: Not found \"libprobix.so\".", "end 0"}));
  EXPECT_EQ(LogLines(),
            (Lines{"Velora Execute Start", "Velora Initialize Start", "Probix.dll Init Start"}));
}

TEST_F(StartupTest, DriverStatusOtherThanZeroAndFourIsReported) {
  for (const char* status : {"0", "1", "3", "4"}) {
    host.events.clear();
    setenv("VELORA_FAKE_DRIVER_STATUS", status, 1);
    ASSERT_TRUE(Initialise(VELORA_FAKE_PROBIX_DIR));
    bool reported = host.events.front() == "message Error: LoadDriver failure!";
    bool expected = std::string(status) == "1" || std::string(status) == "3";
    EXPECT_EQ(reported, expected) << "status " << status;
    // Start-up goes on either way.
    EXPECT_EQ(host.events.back(), "first page");
    EXPECT_EQ(host.events[expected ? 1 : 0].rfind("pages 999", 0), 0u);
  }
}

TEST_F(StartupTest, LanguageIsEnglishOnlyForExactlyEn) {
  struct Case {
    const char* file;
    int language;
  };
  for (Case c :
       {Case{"[Setting]\nLanguage=en\n", kEnglish}, Case{"[Setting]\nLanguage=EN\n", kJapanese},
        Case{"[Setting]\nLanguage=de\n", kJapanese}, Case{"", kJapanese},
        Case{"[setting]\nlanguage=en\n", kEnglish}}) {
    WriteText(dir.file("velora09.ini"), c.file);
    UiLanguage = 0;
    ASSERT_TRUE(Initialise(VELORA_BIN_DIR));
    EXPECT_EQ(UiLanguage.load(), c.language) << c.file;
  }
}

class RecordingApplication : public ApplicationHost {
 public:
  RecordingApplication(AppLog& log, Lines& events) : log_(log), events_(events) {}
  void RunMainWindow() override {
    events_.push_back("window");
    log_.Write("Velora Initialize Start");
  }
  void DestroyMainWindow() override { events_.push_back("destroy"); }

 private:
  AppLog& log_;
  Lines& events_;
};

TEST(RunApplication, LogFramesTheWindowAndTheWindowIsDestroyedLast) {
  TempFolder dir;
  AppLog log(dir.file("velora09.log"));
  Lines events;
  RecordingApplication app(log, events);
  SingleInstanceGuard guard(dir.file("Velora09"));
  EXPECT_EQ(RunApplication(guard, log, app), 0);
  EXPECT_EQ(ReadLines(dir.file("velora09.log")),
            (Lines{"Velora Execute Start", "Velora Initialize Start", "Velora Execute End"}));
  EXPECT_EQ(events, (Lines{"window", "destroy"}));
  EXPECT_FALSE(guard.held()) << "the guard is released when the window has closed";
}

TEST(RunApplication, SecondInstanceEndsWithoutWindowOrLogLine) {
  TempFolder dir;
  SingleInstanceGuard first(dir.file("Velora09"));
  ASSERT_TRUE(first.Acquire());
  WriteText(dir.file("velora09.log"), "first\n");
  AppLog log(dir.file("velora09.log"));
  Lines events;
  RecordingApplication app(log, events);
  SingleInstanceGuard second(dir.file("Velora09"));
  EXPECT_EQ(RunApplication(second, log, app), 0);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(ReadLines(dir.file("velora09.log")), (Lines{"first"}));
}

}  // namespace
}  // namespace velora
