#pragma once
// The eleven pages. Each has its caption and place; the pages whose content belongs to other
// parts of the program are empty until those parts fill them. The Mark and Back pages have
// their own files.

#include <memory>

#include "app/back_page.h"
#include "app/mark_page.h"
#include "app/page.h"

namespace velora {

class RankingPage : public Page {
 public:
  explicit RankingPage(QWidget* parent = nullptr) : Page(1, parent) {}
};

class SystemPage : public Page {
 public:
  explicit SystemPage(QWidget* parent = nullptr) : Page(2, parent) {}
};

class CpuPage : public Page {
 public:
  explicit CpuPage(QWidget* parent = nullptr) : Page(3, parent) {}
};

class FeaturePage : public Page {
 public:
  explicit FeaturePage(QWidget* parent = nullptr) : Page(4, parent) {}
};

class DevicePage : public Page {
 public:
  explicit DevicePage(QWidget* parent = nullptr) : Page(5, parent) {}
};

class PciPage : public Page {
 public:
  explicit PciPage(QWidget* parent = nullptr) : Page(6, parent) {}
};

class DiskPage : public Page {
 public:
  explicit DiskPage(QWidget* parent = nullptr) : Page(7, parent) {}
};

class DllPage : public Page {
 public:
  explicit DllPage(QWidget* parent = nullptr) : Page(8, parent) {}
};

class InfoPage : public Page {
 public:
  explicit InfoPage(QWidget* parent = nullptr) : Page(9, parent) {}
};

// The page of a tab index.
std::unique_ptr<Page> MakePage(int tabIndex);

}  // namespace velora
