// Where previews and saved reports go.

#include "report/report_delivery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

TEST(ReportDelivery, PreviewBesideAWritableProgramElseInTheCache) {
  EXPECT_EQ(PreviewPath(PreviewFolder("/home/u/velora", true, "/c", "/home/u"), ReportForm::kText),
            "/home/u/velora/temp.txt");
  EXPECT_EQ(PreviewPath(PreviewFolder("/usr/bin", false, "/c", "/home/u"), ReportForm::kHtml),
            "/c/velora09/temp.html");
  EXPECT_EQ(PreviewFolder("/usr/bin", false, "", "/home/u"), "/home/u/.cache/velora09");
  EXPECT_EQ(PreviewFolder("/usr/bin", false, "cache", "/home/u"), "/home/u/.cache/velora09");
}

TEST(ReportDelivery, SaveDialogFilters) {
  const SaveDialogChoices text = SaveChoicesOf(ReportForm::kText);
  EXPECT_STREQ(text.defaultSuffix, "txt");
  EXPECT_STREQ(text.formFilter, "text (*.txt)");
  EXPECT_STREQ(text.allFilter, "All files (*.*)");
  const SaveDialogChoices html = SaveChoicesOf(ReportForm::kHtml);
  EXPECT_STREQ(html.defaultSuffix, "html");
  EXPECT_STREQ(html.formFilter, "html (*.html)");
}

TEST(ReportDelivery, WritesBytesAsTheyAreAndSaysWhyNot) {
  testing::TempFolder folder;
  const std::string report("a\r\nb\0c", 6);
  std::string error;
  ASSERT_TRUE(WriteReportFile(folder.file("r.txt"), report, error)) << error;
  ASSERT_TRUE(WriteReportFile(folder.file("r.txt"), report, error)) << "replaced";
  EXPECT_EQ(testing::ReadText(folder.file("r.txt")), report);
  EXPECT_FALSE(WriteReportFile(folder.file("no/such/folder.txt"), report, error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

}  // namespace
}  // namespace velora
