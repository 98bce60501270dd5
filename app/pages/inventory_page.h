#pragma once
// The base of the inventory pages: a page whose data is drawn by a PageViewWidget in a scroll
// area, redrawn from the data whenever it or the language changes.

#include <QScrollArea>

#include "app/pages/page.h"
#include "app/pages/page_view_widget.h"

namespace velora {

class InventoryPage : public Page {
  Q_OBJECT

 public:
  InventoryPage(int tabIndex, QWidget* parent = nullptr);

  PageViewWidget* view() const { return view_; }
  void refreshLanguage() override { redraw(); }
  void refreshFromCollector() override { redraw(); }
  bool notRecorded() const { return notRecorded_; }

 protected:
  // The page's data as it is to be shown now.
  virtual PageView currentView() const = 0;
  void redraw();
  // The page's part is missing from the recording shown: one field says so instead.
  void setNotRecorded(bool notRecorded) { notRecorded_ = notRecorded; }
  // Controls of the page's own above the drawn data.
  void addControls(QWidget* controls);

 private:
  PageViewWidget* view_;
  bool notRecorded_ = false;
};

}  // namespace velora
