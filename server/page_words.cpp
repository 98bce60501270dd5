#include "server/page_words.h"

namespace velora::server {

namespace {

struct Row {
  Word word;
  const char* japanese;
  const char* english;
};

constexpr Row kWords[] = {
    {Word::kTitle, "Velora ランキング", "Velora ranking"},
    {Word::kOverall, "総合ランキング", "Overall ranking"},
    {Word::kByTest, "テスト別ランキング", "Ranking by test"},
    {Word::kMachine, "マシン構成", "Machine"},
    {Word::kScores, "スコア詳細", "Scores"},
    {Word::kPlace, "順位", "Place"},
    {Word::kName, "名前", "Name"},
    {Word::kMachineName, "マシン名", "Machine"},
    {Word::kCpu, "CPU", "CPU"},
    {Word::kScore, "スコア", "Score"},
    {Word::kTest, "テスト", "Test"},
    {Word::kEntries, "登録数", "Entries"},
    {Word::kNoScore, "スコアなし", "no score"},
    {Word::kClock, "クロック", "Clock"},
    {Word::kMotherBoard, "マザーボード", "Mother board"},
    {Word::kChipSet, "チップセット", "Chip set"},
    {Word::kVideo, "ビデオ", "Video"},
    {Word::kMemory, "メモリ", "Memory"},
    {Word::kDisk, "ディスク", "Disk"},
    {Word::kRaid, "RAID", "RAID"},
    {Word::kOs, "OS", "OS"},
    {Word::kCountry, "国", "Country"},
    {Word::kArea, "地域", "Area"},
    {Word::kWeb, "Web", "Web"},
    {Word::kComment, "コメント", "Comment"},
    {Word::kRegistered, "登録日時 (UTC)", "Registered (UTC)"},
    {Word::kMissing, "該当するエントリーはありません。", "There is no such entry."},
    {Word::kOtherLanguage, "English", "日本語"},
    {Word::kEntryNumber, "エントリー", "Entry"},
    {Word::kSearch, "検索", "Search"},
    {Word::kSearchLabel, "CPU・名前・マシン名", "CPU, name or machine"},
    {Word::kVendor, "CPU メーカー", "CPU vendor"},
    {Word::kCountryFilter, "国", "Country"},
    {Word::kAny, "すべて", "any"},
    {Word::kRankingOf, "ランキング", "ranking"},
    {Word::kSort, "並び順", "Order"},
    {Word::kByScore, "スコア順", "by score"},
    {Word::kNewest, "新しい順", "newest first"},
    {Word::kPrevious, "前へ", "Previous"},
    {Word::kNext, "次へ", "Next"},
    {Word::kPageOf, "ページ", "page"},
    {Word::kMatches, "件", "entries"},
    {Word::kWelcome, "ようこそ", "Welcome"},
    {Word::kWelcomeText,
     "まだ登録はありません。Velora の Mark ページで全テストを実行し、Ranking ページのフォームを"
     "埋めて「Entry」を押すと、ここに載ります。このサーバーに送るには、設定ファイルの [Setting] に "
     "RankingServer=http://このサーバーのアドレス を書いてください。",
     "No entry has been registered yet. Run every test on Velora's Mark page, fill in the form of "
     "its Ranking page and press \"Entry\": the result appears here. To send it to this server, "
     "put RankingServer=http://this server's address in section [Setting] of the settings file."},
    {Word::kNoMatch, "条件に合うエントリーはありません。", "No entry matches."},
    {Word::kDate, "登録日", "Date"},
    {Word::kAround, "前後の順位", "Around this entry"},
    {Word::kDistribution, "総合スコアの分布", "Spread of overall scores"},
    {Word::kDistributionNote, "赤い線がこのエントリー", "The red line is this entry"},
    {Word::kVersusCpu, "同じ CPU の中央値との比較", "Against the median of the same CPU"},
    {Word::kVersusCpuNote, "同じ CPU のエントリー数", "Entries of this CPU"},
    {Word::kMedian, "中央値", "Median"},
    {Word::kThisEntry, "このエントリー", "This entry"},
    {Word::kValue, "測定値", "Value"},
    {Word::kSubTest, "サブテスト", "Sub-test"},
    {Word::kCompare, "比較", "Compare"},
    {Word::kCompareWith, "他のエントリーと比較", "Compare with other entries"},
    {Word::kCompareNeeds, "2 つか 3 つのエントリー番号をカンマで区切って指定してください。",
     "Give two or three entry numbers, separated by commas."},
    {Word::kDifference, "差", "Difference"},
    {Word::kBadQuery, "このアドレスは読めません。", "This address cannot be read."},
    {Word::kBackToRanking, "ランキングへ", "To the ranking"},
    {Word::kNoSubTests, "サブテストなし", "no sub-tests"},
};

}  // namespace

const char* WordOf(Word word, PageLanguage language) {
  for (const Row& row : kWords) {
    if (row.word == word) return language == PageLanguage::kEnglish ? row.english : row.japanese;
  }
  return "";
}

const char* LanguageTag(PageLanguage language) {
  return language == PageLanguage::kEnglish ? "en" : "ja";
}

}  // namespace velora::server
