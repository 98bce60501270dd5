// libFuzzer target over the template expansion. Beyond the sanitizers' findings it traps when
// the one-pass expansion disagrees with a plain reference: at each '%', the word up to the
// next '%' is replaced when it is a placeholder, else the '%' stays and the scan moves one on.
// Values hold placeholder words and markup, which must come out as they are (text) or escaped
// (HTML), never expanded.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/html_text.h"
#include "report/template_expansion.h"

namespace {

using velora::Placeholder;

const std::vector<std::pair<std::string, std::string>> kValues = {
    {"%OS%", "Linux <6> & %OS%"},
    {"%CPUDetail%", "<table>%OS%</table>"},
    {"%VeloraResult%", "%VeloraResultHtml%"},
    {"%VeloraResultHtml%", ""},
    {"%A%", "'\""},
};

std::string Reference(const std::string& text, bool html) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] != '%') {
      out += text[at++];
      continue;
    }
    const size_t close = text.find('%', at + 1);
    bool replaced = false;
    if (close != std::string::npos) {
      const std::string word = text.substr(at, close - at + 1);
      for (const auto& [name, value] : kValues) {
        if (word != name) continue;
        out += html && name != "%CPUDetail%" ? velora::HtmlEscaped(value) : value;
        at = close + 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[at++];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool html = (data[0] & 1) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<Placeholder> placeholders;
  std::vector<int> calls(kValues.size(), 0);
  for (size_t i = 0; i < kValues.size(); ++i) {
    const std::string& value = kValues[i].second;
    int& count = calls[i];
    placeholders.emplace_back(kValues[i].first.c_str(), kValues[i].first == "%CPUDetail%",
                              [&value, &count] {
                                ++count;
                                return value;
                              });
  }
  if (velora::ExpandPlaceholders(text, placeholders, html) != Reference(text, html)) std::abort();
  // Each value is made once at most, and only for a word the template holds.
  for (size_t i = 0; i < kValues.size(); ++i) {
    if (calls[i] > 1 || (calls[i] == 1 && text.find(kValues[i].first) == std::string::npos))
      std::abort();
  }
  return 0;
}
