#include "report/template_expansion.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/html_text.h"

namespace velora {

std::string ExpandPlaceholders(const std::string& templateBytes,
                               const std::vector<Placeholder>& placeholders, bool html) {
  std::unordered_map<std::string_view, size_t> byWord;
  size_t longest = 0;
  for (size_t i = 0; i < placeholders.size(); ++i) {
    byWord.emplace(placeholders[i].word, i);
    longest = std::max(longest, placeholders[i].word.size());
  }
  std::vector<std::optional<std::string>> values(placeholders.size());
  std::string out;
  out.reserve(templateBytes.size());
  const std::string_view text(templateBytes);
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find('%', at);
    const size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(at, open - at));
    const std::string_view word = text.substr(open, close - open + 1);
    const auto found = word.size() <= longest ? byWord.find(word) : byWord.end();
    if (found == byWord.end()) {
      // The closing '%' may open the next word.
      out += '%';
      at = open + 1;
      continue;
    }
    const Placeholder& p = placeholders[found->second];
    std::optional<std::string>& value = values[found->second];
    if (!value) value = html && !p.madeAsHtml ? HtmlEscaped(p.make()) : p.make();
    out += *value;
    at = close + 1;
  }
  out.append(text.substr(std::min(at, text.size())));
  return out;
}


}  // namespace velora
