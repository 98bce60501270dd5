#pragma once
// What every page of the site shares: the markup builder that escapes every text, the
// addresses of the pages in each language, and the head and header of a page.

#include <cstdint>
#include <string>
#include <vector>

#include "server/html_text.h"
#include "server/page_words.h"

namespace velora::server {

// Where the style sheet is served; both languages share it.
constexpr const char* kStyleSheetPath = "/Velora/style.css";

class Html {
 public:
  explicit Html(PageLanguage language) : language_(language) {}
  Html& Raw(const std::string& markup) {
    out_ += markup;
    return *this;
  }
  Html& Text(const std::string& text) {
    out_ += HtmlEscaped(text);
    return *this;
  }
  Html& Word(enum Word word) { return Text(WordOf(word, language_)); }
  Html& Cell(const char* tag, const std::string& text) {
    return Raw("<").Raw(tag).Raw(">").Text(text).Raw("</").Raw(tag).Raw(">");
  }
  Html& WordCell(const char* tag, enum Word word) { return Cell(tag, WordOf(word, language_)); }
  // A cell with a class, for the columns a phone leaves out or sets apart.
  Html& ClassCell(const char* tag, const char* cssClass, const std::string& text) {
    return Raw("<").Raw(tag).Raw(" class=\"").Raw(cssClass).Raw("\">").Text(text).Raw("</").Raw(tag).Raw(">");
  }
  Html& Link(const std::string& href, const std::string& text) {
    return Raw("<a href=\"").Text(href).Raw("\">").Text(text).Raw("</a>");
  }
  PageLanguage language() const { return language_; }
  const std::string& str() const { return out_; }

 private:
  PageLanguage language_;
  std::string out_;
};

PageLanguage OtherLanguage(PageLanguage language);
// "/Velora/09" or "/Velora/09en": the root of a language's pages.
std::string LanguageRoot(PageLanguage language);
std::string IndexPath(PageLanguage language);
std::string EntryPath(PageLanguage language, int64_t id);
std::string ComparePath(PageLanguage language, const std::vector<int64_t>& ids);

// The document up to the opening of <main>; otherLanguage is the same page in the other one.
void BeginPage(Html& html, const std::string& title, const std::string& otherLanguage);
void EndPage(Html& html);

std::string UtcDate(int64_t seconds);
std::string UtcTime(int64_t seconds);
// A whole number with thin groups of three: 12345 -> "12,345".
std::string Grouped(int64_t number);

}  // namespace velora::server
