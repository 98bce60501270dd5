#include "info/page_view.h"

namespace velora {

namespace {

void Heading(std::string& out, const std::string& title) {
  if (!title.empty()) out += "[" + title + "]\n";
}

}  // namespace

std::string PageViewText(const PageView& view) {
  std::string out = "== " + view.name + " ==\n";
  for (const PageGroup& group : view.groups) {
    Heading(out, group.title);
    for (const PageField& field : group.fields) {
      const std::string value = field.isLabel ? (field.enabled ? "YES" : "NO") : field.value;
      out += field.label + " : " + value + "\n";
    }
  }
  for (const PageTable& table : view.tables) {
    Heading(out, table.title);
    std::string header;
    for (size_t i = 0; i < table.columns.size(); ++i) {
      header += (i ? " | " : "") + table.columns[i];
    }
    out += header + "\n";
    for (const auto& row : table.rows) {
      std::string line;
      for (size_t i = 0; i < row.size(); ++i) line += (i ? " | " : "") + row[i];
      out += line + "\n";
    }
  }
  return out;
}

}  // namespace velora
