#include "probe/cpu/cpu_brand_clean.h"

#include <cctype>
#include <vector>

namespace velora {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> list) {
  for (std::string_view w : list) {
    if (EqualsNoCase(word, w)) return true;
  }
  return false;
}

// "(R)", "(TM)" in any case; a trademark glued to the next word ("Core(TM)2") joins it.
std::string DropTrademarks(std::string_view brand) {
  std::string out;
  for (size_t i = 0; i < brand.size();) {
    std::string_view rest = brand.substr(i);
    if (StartsWithNoCase(rest, "(R)")) {
      i += 3;
    } else if (StartsWithNoCase(rest, "(TM)")) {
      i += 4;
    } else {
      out += brand[i++];
    }
  }
  return out;
}

// Digits with '.' and '+' ("2.66", "1.2+") followed by GHz or MHz, blanks allowed between.
bool IsClockText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  size_t digits = 0;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == '.' || text[i] == '+')) {
    digits += IsDigit(text[i]) ? 1 : 0;
    ++i;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view unit = text.substr(i);
  while (!unit.empty() && unit.back() == ' ') unit.remove_suffix(1);
  return digits > 0 && (EqualsNoCase(unit, "GHz") || EqualsNoCase(unit, "MHz"));
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '(' || c == ')') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool IsCoreCountWord(std::string_view word) {
  if (!EndsWithNoCase(word, "-Core")) return false;
  std::string_view count = word.substr(0, word.size() - 5);
  if (count.empty()) return false;
  bool allDigits = true;
  for (char c : count) allDigits = allDigits && IsDigit(c);
  return allDigits || IsOneOf(count, {"Dual", "Triple", "Quad", "Six", "Eight", "Ten", "Twelve",
                                      "Sixteen"});
}

// "11th", "12th", "13th" before "Gen".
bool IsGenerationNumber(std::string_view word) {
  if (word.size() < 3 || !EndsWithNoCase(word, "th")) return false;
  for (char c : word.substr(0, word.size() - 2)) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// Cuts the integrated graphics off: "with ... Radeon ...", "w/ Radeon 780M", the "R7, 12
// Compute Cores 4C+8G" of the APUs, and a bare trailing "Radeon ...".
void DropGraphics(std::vector<std::string>& words) {
  auto findWord = [&](std::string_view w, size_t from) {
    for (size_t i = from; i < words.size(); ++i) {
      if (EqualsNoCase(words[i], w)) return i;
    }
    return words.size();
  };
  for (size_t i = 0; i < words.size(); ++i) {
    if ((EqualsNoCase(words[i], "with") || EqualsNoCase(words[i], "w/")) &&
        findWord("Radeon", i + 1) < words.size()) {
      words.resize(i);
      break;
    }
  }
  for (size_t i = 1; i + 1 < words.size(); ++i) {
    if (EqualsNoCase(words[i], "Compute") && StartsWithNoCase(words[i + 1], "Core")) {
      size_t cut = i;
      while (cut > 0 && words[cut - 1].back() != ',') --cut;
      // The word carrying the comma names the graphics ("R7,"); without one, keep the rest.
      if (cut > 0) words.resize(cut - 1);
      break;
    }
  }
  size_t radeon = findWord("Radeon", 1);
  if (radeon < words.size()) words.resize(radeon);
}

}  // namespace

std::string CleanBrandString(std::string_view brand) {
  std::string text = DropTrademarks(brand);
  size_t at = text.find('@');
  if (at != std::string::npos && IsClockText(std::string_view(text).substr(at + 1))) {
    text.resize(at);
  }
  std::vector<std::string> words = SplitWords(text);
  DropGraphics(words);

  std::string out;
  for (size_t i = 0; i < words.size(); ++i) {
    std::string_view w = words[i];
    bool nextIsCore = i + 1 < words.size() && EqualsNoCase(words[i + 1], "Core");
    if (IsOneOf(w, {"Intel", "AMD", "Zhaoxin", "VIA", "Centaur", "Hygon", "Genuine", "CPU",
                    "Processor"}) ||
        IsCoreCountWord(w) || IsClockText(w)) {
      continue;
    }
    if (IsGenerationNumber(w) && i + 1 < words.size() && EqualsNoCase(words[i + 1], "Gen")) {
      ++i;
      continue;
    }
    // "Dual Core" as two words; "Core" alone is Intel's brand and stays.
    if (nextIsCore && IsOneOf(w, {"Dual", "Triple", "Quad"})) {
      ++i;
      continue;
    }
    if (!out.empty()) out += ' ';
    out += w;
  }
  return out;
}

}  // namespace velora
