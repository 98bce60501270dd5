#pragma once
// Every message of the command-line front end in both interface languages, and the choice of
// language from the locale variables and the settings file.

#include <string>

namespace velora {

enum class CliText {
  kUsage,
  kUnknownCommand,  // %s: the word
  kUnknownWord,     // %s
  kNeedsValue,      // %s: the option
  kSizeRange,
  kMaskChoices,     // %s: the masks this machine offers
  kMaskNotApplied,  // %s: the mask
  kCannotStart,
  kStopped,
  kFailedSubTests,  // %d
  kOutputLost,      // %s: the reason
};

// The text of id in language, with %s / %d to be filled by the caller.
const char* CliTextOf(CliText id, int language);

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides: Japanese when it
// starts with "ja", else English. With none set, the settings file's Language value decides.
int CliLanguage(const char* lcAll, const char* lcMessages, const char* lang,
                const std::string& languageSetting);

}  // namespace velora
