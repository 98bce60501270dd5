#include "core/main_window_model.h"

#include "core/ui_language.h"

namespace velora {

const char* CaptionFor(const LanguageCaption& caption, int language) {
  return language == kEnglish ? caption.english : caption.japanese;
}

std::string BaseTitle(const std::string& probeRelease) {
  return "Velora " + std::string(kCoreVersion) + "." + probeRelease;
}

std::string RecordingTitle(const std::string& base, const std::string& recording, int language) {
  return base + CaptionFor(kRecordingTitleCaption, language) + recording;
}

std::string TitleWithSuffix(const std::string& base, const std::string& suffix) {
  return base + " " + suffix;
}

std::string MakerSiteAddress(int language) {
  // The maker's page; only the English query is fixed.
  std::string address = "https://velora.example.org/";
  if (language == kEnglish) address += "?lang=en";
  return address;
}

}  // namespace velora
