#include "ranking/result_summary.h"

#include <gtest/gtest.h>

#include "core/ui_language.h"
#include "ranking/ranking_post.h"
#include "ranking/ranking_reply.h"

namespace velora {
namespace {

SummaryInputs Inputs() {
  SummaryInputs in;
  in.form.cpuName = "Core 2 Duo E6600";
  in.form.clock = "2400.00";
  in.form.systemClock = "266.67";
  in.form.multiplier = "9.00";
  in.form.disk = "WDC WD5000";
  in.form.diskSize = "500";
  in.form.raidController = "Intel Matrix";
  in.form.raidSize = "1000";
  in.processorCount = "2";
  in.osName = " Debian GNU/Linux ";
  in.servicePack = " 12 (bookworm)";
  in.directX = "0.0";
  return in;
}

TEST(ResultSummary, MemoryAverageOverfillsItsBar) {
  BenchResult r;
  r.value[kTestMem][0] = 1234567;
  r.value[kTestMem][1] = 2345678;
  r.value[kTestMem][2] = 3456789;
  const SummaryBar bar = MemoryAverageBar(r);
  // (1234567 + 2345678 + 3456789) / 300 = 7037034 / 300 = 23456.78
  EXPECT_EQ(bar.text, "23456.78 MB/s");
  EXPECT_EQ(bar.value, 234567);
  EXPECT_EQ(bar.maximum, 40000);
  EXPECT_GT(bar.value, bar.maximum);
}

TEST(ResultSummary, DiskAverageOfTheFirstTwoValues) {
  BenchResult r;
  r.value[kTestHdd][0] = 5000;  // hundredths of MB/s
  r.value[kTestHdd][1] = 3001;
  r.value[kTestHdd][2] = 999999;
  const SummaryBar bar = DiskAverageBar(r);
  // (5000 + 3001) x 0.005 = 40.005, printed 40.01 (40.005 is a hair above in binary)
  EXPECT_EQ(bar.text, "40.01 MB/s");
  EXPECT_EQ(bar.value, 4001);
  EXPECT_EQ(bar.maximum, 20000);
}

TEST(ResultSummary, BeforeAFullRunGreyBarsAndNoMask) {
  SummaryInputs in = Inputs();
  in.result.score[0][0] = 777;
  in.result.score[0][kTestAlu] = 1500;
  in.result.runSettings.processorMask = "11";
  const ResultSummary s = BuildResultSummary(in);
  EXPECT_FALSE(s.active);
  EXPECT_EQ(s.clockLine, "2400.00 MHz x 2 (266.67x9.00)");
  EXPECT_EQ(s.bars[0].value, 777);
  EXPECT_EQ(s.bars[0].maximum, 100000);
  EXPECT_EQ(s.bars[0].fontSize, 240);
  EXPECT_EQ(s.bars[kTestAlu].value, 1500);
  EXPECT_EQ(s.bars[kTestAlu].text, "1500");
  EXPECT_EQ(s.bars[kTestAlu].maximum, 20000);
  EXPECT_EQ(s.bars[kTestAlu].fontSize, 190);
  EXPECT_TRUE(s.bars[kTestD3d].hidden);
  EXPECT_EQ(s.bars[kTestMmt].text, "0.00 MB/s");
  EXPECT_EQ(s.os, "Debian GNU/Linux  12 (bookworm)");
  EXPECT_EQ(s.diskLabel, "HDD");
  EXPECT_EQ(s.disk, "WDC WD5000");
  EXPECT_EQ(s.diskGb, "500");
  EXPECT_EQ(s.displayMode, "");
}

TEST(ResultSummary, AfterAFullRunActiveBarsAndTheBracketedMask) {
  SummaryInputs in = Inputs();
  in.result.fullRun = 1;
  in.result.runSettings.processorMask = "0011";
  in.result.runSettings.displayMode = "1024 x 768 32bit";
  in.result.runSettings.fontSmoothing = "ClearType";
  in.form.raid = 1;
  in.form.multiplier = "";
  const ResultSummary s = BuildResultSummary(in);
  EXPECT_TRUE(s.active);
  EXPECT_EQ(s.clockLine, "2400.00 MHz x 2 [ 0011 ]");
  EXPECT_EQ(s.diskLabel, "RAID");
  EXPECT_EQ(s.disk, "Intel Matrix");
  EXPECT_EQ(s.diskGb, "1000");
  EXPECT_EQ(s.displayMode, "1024 x 768 32bit");
  EXPECT_EQ(s.fontSmoothing, "ClearType");
  EXPECT_EQ(s.directX, "0.0");
}

TEST(ReplyDecision, EachReplyAsTheEntryButtonTakesIt) {
  const std::string server = "http://ranking.example.org";
  ReplyDecision d = DecideReply(42, server, kJapanese);
  EXPECT_EQ(d.action, ReplyAction::kOpenEntry);
  EXPECT_EQ(d.text, "http://ranking.example.org/Velora/09/ranking.php?ID=42");
  d = DecideReply(0, server, kEnglish);
  EXPECT_EQ(d.action, ReplyAction::kOpenEntry);
  EXPECT_EQ(d.text, "http://ranking.example.org/Velora/09en/ranking.php?ID=0");
  d = DecideReply(kReplyUnreachable, server, kEnglish);
  EXPECT_EQ(d.action, ReplyAction::kOfferClipboard);
  EXPECT_EQ(d.text, "Is data required in order to register copied to a clip board?");
  EXPECT_EQ(DecideReply(-1, server, kJapanese).text, "二重投稿のようです。");
  EXPECT_EQ(DecideReply(-1, server, kEnglish).text, "Already registed.");
  EXPECT_EQ(DecideReply(-5, server, kEnglish).text, "Already registed.");
  EXPECT_EQ(DecideReply(-5, server, kJapanese).action, ReplyAction::kShowMessage);
  EXPECT_NE(DecideReply(-5, server, kJapanese).text.find("コメント"), std::string::npos);
  EXPECT_EQ(DecideReply(-2, server, kJapanese).action, ReplyAction::kNothing);
  EXPECT_EQ(DecideReply(-32767, server, kEnglish).action, ReplyAction::kNothing);
}

}  // namespace
}  // namespace velora
