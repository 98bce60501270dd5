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
    {Word::kBest, "最高スコア", "Best"},
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
    {Word::kSubTests, "サブテスト", "Sub-tests"},
    {Word::kMissing, "該当するエントリーはありません。", "There is no such entry."},
    {Word::kOtherLanguage, "English", "日本語"},
    {Word::kEntryNumber, "エントリー", "Entry"},
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
