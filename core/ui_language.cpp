#include "core/ui_language.h"

namespace velora {

std::atomic<int> UiLanguage{kJapanese};

int LanguageFromSetting(const std::string& value) { return value == "en" ? kEnglish : kJapanese; }

const char* LanguageSettingText(int language) { return language == kEnglish ? "en" : "jp"; }

}  // namespace velora
