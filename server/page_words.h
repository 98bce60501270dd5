#pragma once
// Every word the pages print, in both languages, as one table.


namespace velora::server {

enum class PageLanguage { kJapanese, kEnglish };

enum class Word {
  kTitle,
  kOverall,
  kByTest,
  kMachine,
  kScores,
  kPlace,
  kName,
  kMachineName,
  kCpu,
  kScore,
  kTest,
  kEntries,
  kNoScore,
  kClock,
  kMotherBoard,
  kChipSet,
  kVideo,
  kMemory,
  kDisk,
  kRaid,
  kOs,
  kCountry,
  kArea,
  kWeb,
  kComment,
  kRegistered,
  kMissing,
  kOtherLanguage,
  kEntryNumber,
  kSearch,
  kSearchLabel,
  kVendor,
  kCountryFilter,
  kAny,
  kRankingOf,
  kSort,
  kByScore,
  kNewest,
  kPrevious,
  kNext,
  kPageOf,
  kMatches,
  kWelcome,
  kWelcomeText,
  kNoMatch,
  kDate,
  kAround,
  kDistribution,
  kDistributionNote,
  kVersusCpu,
  kVersusCpuNote,
  kMedian,
  kThisEntry,
  kValue,
  kSubTest,
  kCompare,
  kCompareWith,
  kCompareNeeds,
  kDifference,
  kBadQuery,
  kBackToRanking,
  kNoSubTests,
};

const char* WordOf(Word word, PageLanguage language);
// The document language attribute.
const char* LanguageTag(PageLanguage language);

}  // namespace velora::server
