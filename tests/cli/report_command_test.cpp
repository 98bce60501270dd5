// The report command's words, its template lookup and the JSON record of a run.

#include "cli/report_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/mark_command.h"
#include "core/ui_language.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;

TEST(ReportCommand, Words) {
  std::string error;
  auto request = ParseReportCommand({"--html", "--template", "Full", "-o", "/tmp/x.html"}, error);
  ASSERT_TRUE(request.has_value()) << error;
  EXPECT_TRUE(request->html);
  EXPECT_EQ(request->templateName, "Full");
  EXPECT_EQ(request->output, "/tmp/x.html");
  request = ParseReportCommand({}, error);
  ASSERT_TRUE(request.has_value());
  EXPECT_FALSE(request->html);
  EXPECT_TRUE(request->templateName.empty() && request->output.empty());
  EXPECT_FALSE(ParseReportCommand({"--template"}, error).has_value());
  EXPECT_NE(error.find("--template"), std::string::npos);
  EXPECT_FALSE(ParseReportCommand({"-o", ""}, error).has_value());
  EXPECT_FALSE(ParseReportCommand({"Full"}, error).has_value());
}

TEST(ReportCommand, MarkTakesReportAndJsonWords) {
  std::string error;
  auto mark = ParseMarkCommand(
      {"ALU", "--json", "--report", "r.html", "--html", "--template", "Full"}, 2, kEnglish, error);
  ASSERT_TRUE(mark.has_value()) << error;
  EXPECT_TRUE(mark->json);
  EXPECT_EQ(mark->reportFile, "r.html");
  EXPECT_TRUE(mark->reportHtml);
  EXPECT_EQ(mark->reportTemplate, "Full");
  EXPECT_EQ(mark->tests, std::vector<int>{kTestAlu});
  EXPECT_FALSE(ParseMarkCommand({"--html"}, 2, kEnglish, error).has_value())
      << "--html means nothing without --report";
  EXPECT_FALSE(ParseMarkCommand({"--report"}, 2, kEnglish, error).has_value());
}

TEST(ReportCommand, TemplateByNameWithOrWithoutExtensionOrByPath) {
  TempFolder folder;
  const std::vector<std::string> roots = {folder.path() + "/a", folder.path() + "/b"};
  WriteText(folder.path() + "/a/text/Standard.txt", "standard");
  WriteText(folder.path() + "/a/html/Full.html", "full");
  WriteText(folder.path() + "/b/html/Full.html", "user full");
  WriteText(folder.path() + "/own.txt", "own");
  std::string error;
  EXPECT_EQ(FindTemplate("", ReportForm::kText, roots, error).value_or("?"), "standard");
  EXPECT_EQ(FindTemplate("Standard.txt", ReportForm::kText, roots, error).value_or("?"),
            "standard");
  EXPECT_EQ(FindTemplate("Full", ReportForm::kHtml, roots, error).value_or("?"), "user full");
  EXPECT_EQ(FindTemplate(folder.path() + "/own.txt", ReportForm::kHtml, roots, error).value_or("?"),
            "own")
      << "a path is read whatever the form";
  EXPECT_FALSE(FindTemplate("Full", ReportForm::kText, roots, error).has_value());
  EXPECT_NE(error.find("text template Full"), std::string::npos) << error;
  EXPECT_FALSE(FindTemplate(folder.path() + "/gone.txt", ReportForm::kText, roots, error));
}

TEST(ReportCommand, ResultRecordJsonHoldsEveryTestSubTestAndTheSettings) {
  BenchResult result;
  result.score[0][0] = 900;
  result.score[0][kTestMem] = 300;
  result.score[kTestMem][3] = 77;
  result.value[kTestMem][3] = 123456;
  result.runSettings.processorMask = "11";
  result.runSettings.scratchSizeMb = 128;
  result.runSettings.display = {1024, 768, 32, 2};
  const auto json = nlohmann::json::parse(ResultRecordJson(result));
  EXPECT_EQ(json["overall"], 900);
  ASSERT_EQ(json["tests"].size(), 10u);
  const auto& mem = json["tests"][2];
  EXPECT_EQ(mem["name"], "MEM");
  EXPECT_EQ(mem["id"], 3);
  EXPECT_EQ(mem["score"], 300);
  ASSERT_EQ(mem["subTests"].size(), 8u);
  EXPECT_EQ(mem["subTests"][3]["score"], 77);
  EXPECT_EQ(mem["subTests"][3]["value"], 123456);
  EXPECT_EQ(json["tests"][9]["name"], "NET");
  EXPECT_EQ(json["runSettings"]["processorMask"], "11");
  EXPECT_EQ(json["runSettings"]["scratchSizeMb"], 128);
  EXPECT_EQ(json["runSettings"]["display"]["width"], 1024);
  EXPECT_EQ(json["complete"], false);
}

}  // namespace
}  // namespace velora
