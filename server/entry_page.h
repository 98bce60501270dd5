#pragma once
// The ranking page of an entry, in Japanese or English: the overall ranking with the entry
// marked, its place in every test's ranking, its machine and its scores.

#include <cstdint>
#include <optional>
#include <string>

#include "server/entry_store.h"

namespace velora::server {

enum class PageLanguage { kJapanese, kEnglish };

// Where the style sheet is served; both languages share it.
constexpr const char* kStyleSheetPath = "/Velora/style.css";

// The whole page, or nothing when there is no such entry.
std::optional<std::string> EntryPage(EntryStore& store, int64_t id, PageLanguage language);
// The page that says there is no such entry.
std::string MissingEntryPage(PageLanguage language);

const char* StyleSheet();

}  // namespace velora::server
