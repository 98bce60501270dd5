#pragma once
// Qt's own texts (the file and colour dialogs, the standard buttons) in the interface language:
// its Japanese translation is installed while the program speaks Japanese.

namespace velora {

// language: kJapanese or kEnglish. True when Qt's texts now follow it; false when the Japanese
// translation is not installed on this system (Qt's texts then stay English).
bool QtTextsFollow(int language);

}  // namespace velora
