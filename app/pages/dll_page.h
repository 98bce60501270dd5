#pragma once
// The DLL page: four category tabs over one list of libraries, refilled (and the versions read
// again) at every tab change.

#include "app/pages/page.h"
#include "app/pages/page_view_widget.h"
#include "info/dll_page_data.h"

class QTabBar;

namespace velora {

class DllPage : public Page {
  Q_OBJECT

 public:
  explicit DllPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;
  void refreshLanguage() override;

  const DllPageData& data() const { return data_; }
  QTabBar* tabs() const { return tabs_; }
  PageViewWidget* view() const { return view_; }
  // Any index outside the tabs shows the first category.
  void selectCategory(int tab);

  // Reads a library's version: set from the machine shown when the page is made.
  LibraryVersionReader versionOf = InstalledLibraryVersion;

 private:
  void sizeColumns();

  DllPageData data_;
  bool notRecorded_ = false;
  QTabBar* tabs_;
  PageViewWidget* view_;
};

}  // namespace velora
