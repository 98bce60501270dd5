#include "cli/submit_command.h"

#include <gtest/gtest.h>

#include "cli/mark_command.h"
#include "core/ui_language.h"
#include "tests/support/local_http_server.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::LocalHttpServer;
using testing::TempFolder;

TEST(SubmitWords, MarkTakesTheSubmitOptions) {
  std::string error;
  auto command =
      ParseMarkCommand({"--submit", "--form", "ChipSetUser=Intel P965", "--form", "Comment=a=b"}, 2,
                       kEnglish, error);
  ASSERT_TRUE(command) << error;
  EXPECT_TRUE(command->submit.submit);
  EXPECT_FALSE(command->submit.dryRun);
  ASSERT_EQ(command->submit.form.size(), 2u);
  EXPECT_EQ(command->submit.form[0],
            (std::pair<std::string, std::string>{"ChipSetUser", "Intel P965"}));
  EXPECT_EQ(command->submit.form[1], (std::pair<std::string, std::string>{"Comment", "a=b"}));
  EXPECT_EQ(command->tests, std::vector<int>{0});
  command = ParseMarkCommand({"--submit-dry-run"}, 2, kEnglish, error);
  ASSERT_TRUE(command);
  EXPECT_TRUE(command->submit.dryRun);
  // Every word is checked before a run starts, not after a minute of benchmark.
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--submit", "--form"},
           {"--submit", "--form", "NoEquals"},
           {"--submit", "--form", "=v"},
           {"--submit-dry-run", "--form", "NoSuchKey=1"},
           {"--form", "Comment=without a submit"},
           {"--submit-dry-run", "--json"},
           {"--submit-dry-run", "--submit"},
           {"ALU", "--submit"}}) {
    error.clear();
    EXPECT_FALSE(ParseMarkCommand(bad, 2, kEnglish, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(SubmitForm, IdentityFromTheSettingsMachineFromThePagesRestFromTheWords) {
  TempFolder dir;
  Settings settings(dir.file("velora09.ini"));
  settings.Write("Info", "UserName", "tester");
  settings.Write("Info", "Password", "pw");
  settings.Write("Info", "Memory", "DDR4-3200");
  CpuPageData cpu;
  cpu.cpuName = "Core 2 Duo";
  cpu.internalClockCurrent = "2400.00";
  cpu.multiplierOriginal = "9.00";
  SubmitRequest request;
  request.form = {{"ChipSetUser", "Intel P965"},
                  {"RaidOn", "1"},
                  {"RaidDisk3Size", "250"},
                  {"UserName", "other"}};
  DeviceFacts device;
  device.chipSet = " VIA K8T800";  // the Device page's names carry one leading blank
  device.video = " GeForce 6600";
  std::string error;
  auto form = CommandLineForm(settings, cpu, device, 2048ull * 1048576, request, error);
  ASSERT_TRUE(form) << error;
  EXPECT_EQ(form->userName, "other");
  EXPECT_EQ(form->password, "pw");
  EXPECT_EQ(form->memory, "DDR4-3200");
  EXPECT_EQ(form->cpuName, "Core 2 Duo");
  EXPECT_EQ(form->clock, "2400.00");
  EXPECT_EQ(form->multiplierOriginal, "9.00");
  EXPECT_EQ(form->memorySize, "2049");
  EXPECT_EQ(form->chipSet, "Intel P965");
  EXPECT_EQ(form->video, "GeForce 6600");
  EXPECT_EQ(form->raid, 1);
  EXPECT_EQ(form->raidDiskSizes[2], "250");
  request.form = {{"CpuName", "x"}};
  EXPECT_FALSE(CommandLineForm(settings, cpu, device, 0, request, error));
  EXPECT_NE(error.find("CpuName"), std::string::npos);
}

TEST(SubmitRun, CompleteWithTheWindowsRuleOrWithoutAnyDisplayThroughout) {
  BenchResult headless;
  headless.fullRun = 1;
  EXPECT_TRUE(CommandLineRunComplete(headless, false));
  EXPECT_FALSE(CommandLineRunComplete(headless, true));
  BenchResult partial = headless;
  partial.fullRun = 0;
  EXPECT_FALSE(CommandLineRunComplete(partial, false));
  BenchResult appeared = headless;
  appeared.display[kTestGdi] = {1024, 768, 24, 0};
  EXPECT_FALSE(CommandLineRunComplete(appeared, false));
  BenchResult screen = headless;
  screen.display[0] = screen.display[kTestGdi] = screen.display[kTestD2d] = {1024, 768, 24, 1};
  EXPECT_TRUE(CommandLineRunComplete(screen, true));
}

RankingForm Filled() {
  RankingForm f;
  f.userName = "tester";
  f.cpuName = "cpu";
  f.machineName = "box";
  f.country = "JP Japan";
  f.password = "pw";
  f.chipSet = "Intel P965";
  f.video = "GeForce";
  f.memory = "DDR4";
  f.disk = "WDC";
  f.clock = f.clockOriginal = "2400";
  f.systemClock = f.systemClockOriginal = "200";
  f.multiplier = f.multiplierOriginal = "12";
  return f;
}

SubmitOutcome Submit(const RankingForm& form, const std::string& server, bool dryRun = false) {
  BenchResult result;
  result.fullRun = 1;
  result.score[0][0] = 4321;
  return SubmitRegistration(form, {}, result, "Velora 0.9.115.3", server, kEnglish, dryRun,
                            PostLimits{2000, 400});
}

TEST(SubmitRun, DryRunPrintsTheBodyAndARequiredFieldStops) {
  SubmitOutcome outcome = Submit(Filled(), "", true);
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.out.rfind("UserName=tester&Machine=box&", 0), 0u);
  EXPECT_NE(outcome.out.find("&Mark=4321&"), std::string::npos);
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - 8), "&check=1");
  RankingForm missing = Filled();
  missing.chipSet.clear();
  outcome = Submit(missing, "", true);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.error, "Please input essensial information.");
}

TEST(SubmitRun, EachReplyPrintedAsTheServiceGaveIt) {
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: 31\r\nConnection: close\r\n\r\n");
    const SubmitOutcome outcome = Submit(Filled(), server.url());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, server.url() + "/Velora/09en/ranking.php?ID=31");
    EXPECT_EQ(server.lastBody().back(), '\0');
  }
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: -5\r\nConnection: close\r\n\r\n");
    const SubmitOutcome outcome = Submit(Filled(), server.url());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.error, "Already registed.");
  }
  {
    LocalHttpServer server("HTTP/1.1 200 OK\r\nX-Velora-Result: -9\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(Submit(Filled(), server.url()).error, "the ranking service refused the entry: -9");
  }
  {
    // A failure page is no entry, whatever its length reads.
    LocalHttpServer server(
        "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4242\r\nConnection: close\r\n\r\n");
    const SubmitOutcome failed = Submit(Filled(), server.url());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.error.find("500 Internal Server Error"), std::string::npos) << failed.error;
  }
  const SubmitOutcome none = Submit(Filled(), "");
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.error.find("could not be reached"), std::string::npos);
  EXPECT_NE(none.error.find("RankingServer"), std::string::npos);
}

}  // namespace
}  // namespace velora
