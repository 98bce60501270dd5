#pragma once
// The interface language, one value for the whole program: every text that exists in two
// languages is chosen by it when it is produced.

#include <atomic>
#include <string>

namespace velora {

enum UiLanguageCode : int { kJapanese = 1, kEnglish = 2 };

// Read by the collector thread too, hence atomic.
extern std::atomic<int> UiLanguage;

// The "Language" setting: exactly "en" selects English, anything else Japanese.
int LanguageFromSetting(const std::string& value);
// The text written back: "jp" or "en".
const char* LanguageSettingText(int language);

}  // namespace velora
