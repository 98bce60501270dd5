#include "app/pages/page_view_widget.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

namespace velora {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The width at which a field shows the whole of text, worked out as the field works out its
// own size hint, with the text in place of its usual seventeen characters.
int WholeTextWidth(const QLineEdit* edit, const QString& text) {
  constexpr int kMargin = 2;  // the field's own, on either side of the text
  const QMargins margins = edit->textMargins();
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
  // One pixel more for the text cursor at its end.
  const QSize inner(edit->fontMetrics().horizontalAdvance(text) + 1 + 2 * kMargin +
                        margins.left() + margins.right(),
                    edit->fontMetrics().height());
  return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, edit).width();
}

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
    const auto own = group.fields.empty() ? perRow_.end() : perRow_.find(group.fields[0].label);
    FieldGrid fieldGrid{box, grid, {}, own != perRow_.end() ? own->second : columns_, 0};
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
        auto* caption = new QLabel(Q(field.label), box);
        auto* edit = new QLineEdit(box);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        caption->setBuddy(edit);
        fieldGrid.pairs.emplace_back(caption, edit);
        captions.push_back(caption);
        widgets.push_back(edit);
      }
      ++slot;
    }
    if (!fieldGrid.pairs.empty()) {
      place(fieldGrid, fieldGrid.wanted);
      fieldGrids_.push_back(fieldGrid);
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
    table->viewport()->installEventFilter(this);
    // Lists shown first stand above the groups, in their order.
    if (tablesFirst_) {
      layout->insertWidget(static_cast<int>(t), table, 1);
    } else {
      layout->addWidget(table, 1);
    }
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
          // A long value widens its field; the page scrolls sideways if it must.
          edit->setMinimumWidth(WholeTextWidth(edit, text));
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
          item = new QTableWidgetItem(text);
          item->setTextAlignment(alignmentOf(t, c) | Qt::AlignVCenter);
          table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        } else if (item->text() != text) {
          item->setText(text);
        }
      }
    }
    sizeColumns(t);
  }
  shown_ = view;
  if (parentWidget() != nullptr && !followingParent_) {
    parentWidget()->installEventFilter(this);
    followingParent_ = true;
  }
  reflow();
}

void PageViewWidget::place(FieldGrid& group, int perRow) {
  for (const auto& [caption, edit] : group.pairs) {
    group.grid->removeWidget(caption);
    group.grid->removeWidget(edit);
  }
  for (int c = 0; c < 2 * group.wanted; ++c) group.grid->setColumnStretch(c, 0);
  for (size_t i = 0; i < group.pairs.size(); ++i) {
    const int slot = static_cast<int>(i);
    const int row = slot / perRow, column = (slot % perRow) * 2;
    group.grid->addWidget(group.pairs[i].first, row, column);
    group.grid->addWidget(group.pairs[i].second, row, column + 1);
    group.grid->setColumnStretch(column + 1, 1);
  }
  group.placed = perRow;
}

int PageViewWidget::widthAt(const FieldGrid& group, int perRow) const {
  std::vector<int> columns(static_cast<size_t>(2 * perRow), 0);
  for (size_t i = 0; i < group.pairs.size(); ++i) {
    const auto column = static_cast<size_t>((static_cast<int>(i) % perRow) * 2);
    const QLineEdit* edit = group.pairs[i].second;
    columns[column] = std::max(columns[column], group.pairs[i].first->minimumSizeHint().width());
    columns[column + 1] = std::max(columns[column + 1],
                                   std::max(edit->minimumWidth(), edit->minimumSizeHint().width()));
  }
  int width = group.grid->horizontalSpacing() * (2 * perRow - 1);
  for (int w : columns) width += w;
  const QMargins margins = group.grid->contentsMargins();
  const int frame = group.box->minimumSizeHint().width() - group.grid->minimumSize().width();
  return width + margins.left() + margins.right() + std::max(frame, 0);
}

void PageViewWidget::reflow() {
  // Pairs share a row while they fit beside each other in the room the page has; a long value
  // puts its group's fields one to a row rather than make the page scroll sideways.
  const QMargins margins = layout()->contentsMargins();
  const int room =
      (parentWidget() != nullptr ? parentWidget()->width() : width()) - margins.left() - margins.right();
  for (FieldGrid& group : fieldGrids_) {
    if (group.wanted <= 1) continue;
    const int perRow = widthAt(group, group.wanted) <= room ? group.wanted : 1;
    if (perRow != group.placed) place(group, perRow);
  }
}

void PageViewWidget::setColumnLayout(size_t table, std::vector<int> shares,
                                     std::vector<Qt::Alignment> alignments) {
  columnLayouts_[table] = {std::move(shares), std::move(alignments)};
  if (QTableWidget* t = this->table(table)) {
    for (int r = 0; r < t->rowCount(); ++r) {
      for (int c = 0; c < t->columnCount(); ++c) {
        if (QTableWidgetItem* item = t->item(r, c))
          item->setTextAlignment(alignmentOf(table, static_cast<size_t>(c)) | Qt::AlignVCenter);
      }
    }
  }
  sizeColumns(table);
}

Qt::Alignment PageViewWidget::alignmentOf(size_t table, size_t column) const {
  const auto found = columnLayouts_.find(table);
  if (found == columnLayouts_.end() || column >= found->second.alignments.size())
    return Qt::AlignLeft;
  return found->second.alignments[column];
}

void PageViewWidget::sizeColumns(size_t index) {
  const auto found = columnLayouts_.find(index);
  QTableWidget* table = this->table(index);
  if (found == columnLayouts_.end() || table == nullptr) return;
  const std::vector<int>& shares = found->second.shares;
  int total = 0;
  for (int share : shares) total += share;
  if (total <= 0) return;
  QHeaderView* header = table->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  const int width = table->viewport()->width();
  const size_t count = std::min(shares.size(), static_cast<size_t>(table->columnCount()));
  // A cell's text has its width less the grid line.
  const int grid = table->showGrid() ? 1 : 0;
  std::vector<int> widths(count, 0), least(count, 0);
  int short_ = 0, spare = 0;
  for (size_t c = 0; c < count; ++c) {
    const int column = static_cast<int>(c);
    table->setColumnHidden(column, shares[c] == 0);
    if (shares[c] == 0) continue;
    least[c] = header->sectionSizeHint(column);
    for (int r = 0; r < table->rowCount(); ++r) {
      least[c] = std::max(
          least[c], table->sizeHintForIndex(table->model()->index(r, column)).width() + grid);
    }
    widths[c] = width * shares[c] / total;
    short_ += std::max(0, least[c] - widths[c]);
    spare += std::max(0, widths[c] - least[c]);
  }
  // A share too narrow for its column's texts widens it, at the cost of the columns with room
  // to spare; only when they have too little does the list scroll sideways.
  const int taken = std::min(short_, spare);
  for (size_t c = 0; c < count; ++c) {
    if (shares[c] == 0) continue;
    const int room = widths[c] - least[c];
    if (room > 0 && spare > 0) widths[c] -= static_cast<int>(static_cast<int64_t>(taken) * room / spare);
    table->setColumnWidth(static_cast<int>(c), std::max(widths[c], least[c]));
  }
}

bool PageViewWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == parentWidget()) reflow();
  if (event->type() == QEvent::Resize) {
    for (size_t t = 0; t < tables_.size(); ++t) {
      if (tables_[t]->viewport() == watched) sizeColumns(t);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void PageViewWidget::setTablesFirst(bool first) { tablesFirst_ = first; }

void PageViewWidget::setFieldsPerRow(const std::string& firstLabel, int perRow) {
  perRow_[firstLabel] = perRow;
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
