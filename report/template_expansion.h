#pragma once
// Placeholder words in a report template ("%OS%") replaced by their values in one pass.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velora {

constexpr bool kMadeAsHtml = true;

struct Placeholder {
  Placeholder(const char* w, std::function<std::string()> m) : word(w), make(std::move(m)) {}
  Placeholder(const char* w, bool html, std::function<std::string()> m)
      : word(w), madeAsHtml(html), make(std::move(m)) {}
  std::string_view word;  // with its two '%'
  // A block that is HTML already; every other value is text, escaped for an HTML report.
  bool madeAsHtml = false;
  // Called once, the first time the template holds the word, and never when it does not.
  std::function<std::string()> make;
};

// One pass over the template, left to right: a placeholder word is replaced by its value and
// the scan goes on behind it, so a value (a board vendor that reads "%CPUDetail%") is never
// expanded in turn, and the work grows with the template's length only. Bytes that are no
// placeholder word stay as they are.
std::string ExpandPlaceholders(const std::string& templateBytes,
                               const std::vector<Placeholder>& placeholders, bool html);

}  // namespace velora
