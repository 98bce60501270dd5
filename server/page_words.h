#pragma once
// Every word the pages print, in both languages, as one table.

#include "server/entry_page.h"

namespace velora::server {

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
  kBest,
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
  kSubTests,
  kMissing,
  kOtherLanguage,
  kEntryNumber,
};

const char* WordOf(Word word, PageLanguage language);
// The document language attribute.
const char* LanguageTag(PageLanguage language);

}  // namespace velora::server
