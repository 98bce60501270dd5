#include "app/pages/page_view_widget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velora {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PageViewWidget::PageViewWidget(QWidget* parent, int columns) : QWidget(parent), columns_(columns) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
}

void PageViewWidget::build(const PageView& view) {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  fieldWidgets_.clear();
  for (const PageGroup& group : view.groups) {
    auto* box = new QGroupBox(Q(group.title), this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, group.title.empty() ? 4 : 8, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    std::vector<QWidget*> widgets;
    std::vector<QLabel*> captions;
    int slot = 0;
    // Feature labels stand eight to a row, like the flags they are.
    const int labelsPerRow = 8;
    for (const PageField& field : group.fields) {
      if (field.isLabel) {
        auto* label = new QLabel(Q(field.label), box);
        label->setFrameShape(QFrame::StyledPanel);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, slot / labelsPerRow, slot % labelsPerRow);
        widgets.push_back(label);
        captions.push_back(nullptr);
      } else {
        const int row = slot / columns_, column = (slot % columns_) * 2;
        auto* caption = new QLabel(Q(field.label), box);
        auto* edit = new QLineEdit(box);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, column);
        grid->addWidget(edit, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
        captions.push_back(caption);
        widgets.push_back(edit);
      }
      ++slot;
    }
    layout->addWidget(box);
    fieldWidgets_.push_back(widgets);
    fieldCaptions_.push_back(captions);
  }
  for (size_t t = 0; t < view.tables.size(); ++t) {
    const PageTable& spec = view.tables[t];
    auto* table = new QTableWidget(this);
    table->setObjectName(Q(spec.title.empty() ? "list" : spec.title));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setShowGrid(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    const int index = static_cast<int>(t);
    connect(table, &QTableWidget::cellClicked, this,
            [this, index](int row, int) { emit rowClicked(index, row); });
    layout->addWidget(table, 1);
    tables_.push_back(table);
  }
  if (view.tables.empty()) layout->addStretch(1);
  built_ = true;
}

void PageViewWidget::show(const PageView& view) {
  // A page keeps its shape: the widgets are made once, for the first data shown.
  if (!built_) build(view);
  for (size_t g = 0; g < view.groups.size() && g < fieldWidgets_.size(); ++g) {
    const auto& fields = view.groups[g].fields;
    for (size_t f = 0; f < fields.size() && f < fieldWidgets_[g].size(); ++f) {
      QWidget* w = fieldWidgets_[g][f];
      if (fields[f].isLabel) {
        auto* label = static_cast<QLabel*>(w);
        label->setText(Q(fields[f].label));
        label->setEnabled(fields[f].enabled);
      } else {
        // Some captions follow the language.
        if (QLabel* caption = fieldCaptions_[g][f]) caption->setText(Q(fields[f].label));
        auto* edit = static_cast<QLineEdit*>(w);
        const QString text = Q(fields[f].value);
        if (edit->text() != text) {
          edit->setText(text);
          edit->setCursorPosition(0);
        }
      }
    }
  }
  for (size_t t = 0; t < view.tables.size() && t < tables_.size(); ++t) {
    const PageTable& spec = view.tables[t];
    QTableWidget* table = tables_[t];
    table->setColumnCount(static_cast<int>(spec.columns.size()));
    QStringList headers;
    for (const std::string& c : spec.columns) headers << Q(c);
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(static_cast<int>(spec.rows.size()));
    for (size_t r = 0; r < spec.rows.size(); ++r) {
      for (size_t c = 0; c < spec.rows[r].size() && c < spec.columns.size(); ++c) {
        const QString text = Q(spec.rows[r][c]);
        QTableWidgetItem* item = table->item(static_cast<int>(r), static_cast<int>(c));
        if (item == nullptr) {
          table->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(text));
        } else if (item->text() != text) {
          item->setText(text);
        }
      }
    }
  }
  shown_ = view;
}

QTableWidget* PageViewWidget::table(size_t index) const {
  return index < tables_.size() ? tables_[index] : nullptr;
}

QLineEdit* PageViewWidget::field(const std::string& group, const std::string& label) const {
  for (size_t g = 0; g < shown_.groups.size() && g < fieldWidgets_.size(); ++g) {
    if (shown_.groups[g].title != group) continue;
    for (size_t f = 0; f < shown_.groups[g].fields.size(); ++f) {
      const PageField& field = shown_.groups[g].fields[f];
      if (field.label == label && !field.isLabel)
        return static_cast<QLineEdit*>(fieldWidgets_[g][f]);
    }
  }
  return nullptr;
}

QLabel* PageViewWidget::flag(const std::string& label) const {
  for (size_t g = 0; g < shown_.groups.size() && g < fieldWidgets_.size(); ++g) {
    for (size_t f = 0; f < shown_.groups[g].fields.size(); ++f) {
      const PageField& field = shown_.groups[g].fields[f];
      if (field.label == label && field.isLabel) return static_cast<QLabel*>(fieldWidgets_[g][f]);
    }
  }
  return nullptr;
}

}  // namespace velora
