#include "probe/cpu/cpu_today_cores.h"

namespace velora {

namespace {

// The last word of "Core i7-12700H" or "Core Ultra 7 155H": after the last blank or hyphen.
std::string_view ModelNumberWord(std::string_view name) {
  size_t at = name.find_last_of(" -");
  return at == std::string_view::npos ? name : name.substr(at + 1);
}

bool OneOfSuffixes(std::string_view suffix, std::string_view suffixes) {
  for (size_t from = 0;;) {
    size_t bar = suffixes.find('|', from);
    size_t length = bar == std::string_view::npos ? bar : bar - from;
    std::string_view choice = suffixes.substr(from, length);
    if (choice == suffix) return true;
    if (bar == std::string_view::npos) return false;
    from = bar + 1;
  }
}

}  // namespace

const CoreCountRow* FindPublishedCoreCount(std::span<const CoreCountRow> rows, int32_t vendorCode,
                                           int32_t family, int32_t model,
                                           std::string_view cleanedName) {
  std::string_view word = ModelNumberWord(cleanedName);
  for (const CoreCountRow& row : rows) {
    if (row.vendorCode != vendorCode || row.family != family) continue;
    if (model < row.modelLow || model > row.modelHigh) continue;
    if (!word.starts_with(row.number)) continue;
    if (OneOfSuffixes(word.substr(row.number.size()), row.suffixes)) return &row;
  }
  return nullptr;
}

}  // namespace velora
