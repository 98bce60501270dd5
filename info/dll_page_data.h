#pragma once
// The DLL page as data: four categories of well-known shared libraries, each row the library's
// file name, the version of the copy the loader would take (or "Not Installed") and a short
// description. The versions are read afresh at every fill.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "info/page_view.h"

namespace velora {

struct DllTableRow {
  const char* fileName;
  const char* description;
};

struct DllCategory {
  const char* english;
  const char* japanese;
  std::vector<DllTableRow> rows;
};

constexpr int kDllCategoryCount = 4;
// System, C/C++ Runtime, Toolkit, Archiver, in tab order.
const std::array<DllCategory, kDllCategoryCount>& DllCategories();

// Any index outside the tabs stands for the first.
int DllCategoryIndex(int tab);

using DllRow = std::array<std::string, 3>;  // Dll Name, Version Information, Description

struct DllPageData {
  int category = 0;
  std::vector<DllRow> rows;
};

// The version text of a library ("" when the loader cannot find it or it has none).
using LibraryVersionReader = std::function<std::string(const std::string& fileName)>;

// Refills the rows with the category of the tab, in table order.
void FillDllCategory(DllPageData& page, int tab, const LibraryVersionReader& version);

// FileVersionText for the running system.
std::string InstalledLibraryVersion(const std::string& fileName);

constexpr std::array<const char*, 3> kDllColumns{"Dll Name", "Version Information", "Description"};

PageView DllPageView(const DllPageData& page, int language);

}  // namespace velora
