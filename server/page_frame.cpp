#include "server/page_frame.h"

#include <ctime>

namespace velora::server {

namespace {

std::string Formatted(int64_t seconds, const char* format) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

}  // namespace

PageLanguage OtherLanguage(PageLanguage language) {
  return language == PageLanguage::kEnglish ? PageLanguage::kJapanese : PageLanguage::kEnglish;
}

std::string LanguageRoot(PageLanguage language) {
  return language == PageLanguage::kEnglish ? "/Velora/09en" : "/Velora/09";
}

std::string IndexPath(PageLanguage language) { return LanguageRoot(language) + "/"; }

std::string EntryPath(PageLanguage language, int64_t id) {
  return LanguageRoot(language) + "/ranking.php?ID=" + std::to_string(id);
}

std::string ComparePath(PageLanguage language, const std::vector<int64_t>& ids) {
  std::string path = LanguageRoot(language) + "/compare";
  for (size_t i = 0; i < ids.size(); ++i) {
    path += (i == 0 ? "?ids=" : ",") + std::to_string(ids[i]);
  }
  return path;
}

void BeginPage(Html& html, const std::string& title, const std::string& otherLanguage) {
  const PageLanguage language = html.language();
  html.Raw("<!DOCTYPE html>\n<html lang=\"").Raw(LanguageTag(language)).Raw("\">\n<head>\n");
  html.Raw("<meta charset=\"utf-8\">\n");
  html.Raw("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
  html.Text(title).Raw("</title>\n<link rel=\"stylesheet\" href=\"").Raw(kStyleSheetPath);
  html.Raw("\">\n</head>\n<body>\n<header>\n<p class=\"site\">");
  html.Link(IndexPath(language), WordOf(Word::kTitle, language));
  html.Raw("</p>\n<p class=\"language\">").Link(otherLanguage, WordOf(Word::kOtherLanguage, language));
  html.Raw("</p>\n<h1>").Text(title).Raw("</h1>\n</header>\n<main>\n");
}

void EndPage(Html& html) { html.Raw("</main>\n</body>\n</html>\n"); }

std::string UtcDate(int64_t seconds) { return Formatted(seconds, "%Y-%m-%d"); }
std::string UtcTime(int64_t seconds) { return Formatted(seconds, "%Y-%m-%d %H:%M"); }

std::string Grouped(int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), ",");
  }
  return (number < 0 ? "-" : "") + digits;
}

}  // namespace velora::server
