#pragma once
// A page's data as the window and the command line both show it: titled groups of labelled
// fields, then tables. Each page's data turns into this in one place, so `velora info` prints
// exactly what the page holds.

#include <string>
#include <vector>

namespace velora {

struct PageField {
  std::string label;
  std::string value;
  // A feature label: no value, its answer is whether it is enabled ("YES"/"NO" in text).
  bool isLabel = false;
  bool enabled = true;
};

struct PageGroup {
  std::string title;  // may be empty
  std::vector<PageField> fields;
};

struct PageTable {
  std::string title;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

struct PageView {
  std::string name;  // "System", "CPU", ...
  std::vector<PageGroup> groups;
  std::vector<PageTable> tables;
};

// "Label : value" lines per field, then one line per table row with the cells joined by " | ",
// each group and table under its heading.
std::string PageViewText(const PageView& view);

}  // namespace velora
