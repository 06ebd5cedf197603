#include "ui/form_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

namespace ferolin::ui {

namespace {

template <class W>
W* Place(W* widget, const char* name, QRect geometry) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

}  // namespace

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry, const QString& caption) {
  auto* b = Place(new QPushButton(caption, parent), name, geometry);
  b->setAutoDefault(false);
  return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, QPoint topLeft, const QString& caption) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->move(topLeft);
  l->setTextFormat(Qt::PlainText);
  l->setMargin(0);
  SetCaption(l, caption);
  return l;
}

void SetCaption(QLabel* label, const QString& caption) {
  label->setText(caption);
  // A caption that would run past the window's edge is set a little narrower
  // (down to 75%) so that it stays whole; trailing padding does not count.
  QWidget* parent = label->parentWidget();
  QFont font = parent ? parent->font() : label->font();
  if (parent) {
    qsizetype visible = caption.size();
    while (visible > 0 && caption[visible - 1] == QLatin1Char(' ')) --visible;
    const int room = parent->width() - label->x() - 1;
    const int width = QFontMetrics(font).horizontalAdvance(caption.left(visible));
    if (room > 0 && width > room) font.setStretch(std::max(75, 100 * room / width));
  }
  label->setFont(font);
  label->adjustSize();
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, QRect geometry, const QStringList& items,
                        bool editable, int selected, const QString& text) {
  auto* c = Place(new QComboBox(parent), name, geometry);
  // A narrow arrow and little padding leave the text its room at these sizes.
  c->setStyleSheet(QStringLiteral("QComboBox { padding: 0px; }"
                                  "QComboBox::drop-down { width: 12px; }"));
  c->setEditable(editable);
  c->addItems(items);
  if (editable) {
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCurrentIndex(selected);
    if (selected < 0) c->setEditText(text);
    c->lineEdit()->setCursorPosition(0);  // the text's start in view
  } else {
    c->setCurrentIndex(selected);
  }
  return c;
}

QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry, QColor colour) {
  auto* p = Place(new QFrame(parent), name, geometry);
  p->setFrameShape(QFrame::Panel);
  p->setFrameShadow(QFrame::Raised);
  p->setAutoFillBackground(true);
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, colour);
  p->setPalette(pal);
  return p;
}

QTableWidget* MakeStringGrid(QWidget* parent, const char* name, QRect geometry, int cols, int rows,
                             int colWidth, int rowHeight) {
  auto* g = Place(new QTableWidget(rows, cols, parent), name, geometry);
  g->horizontalHeader()->hide();
  g->verticalHeader()->hide();
  g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setFrameShape(QFrame::NoFrame);
  g->setShowGrid(true);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setWordWrap(false);
  g->setTextElideMode(Qt::ElideNone);
  g->setSelectionMode(QAbstractItemView::NoSelection);
  g->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px; }"));
  // Qt draws a cell's grid line inside the section, so a section is the cell
  // plus its line.
  g->horizontalHeader()->setMinimumSectionSize(1);
  g->verticalHeader()->setMinimumSectionSize(1);
  g->horizontalHeader()->setDefaultSectionSize(colWidth + 1);
  g->verticalHeader()->setDefaultSectionSize(rowHeight + 1);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) g->setItem(r, c, new QTableWidgetItem);
  return g;
}

void SetGridCell(QTableWidget* grid, int col, int row, const QString& text) {
  grid->item(row, col)->setText(text);
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, QRect geometry) {
  auto* m = Place(new QPlainTextEdit(parent), name, geometry);
  m->setReadOnly(true);
  m->setLineWrapMode(QPlainTextEdit::NoWrap);
  return m;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, QRect geometry) {
  return Place(new QCheckBox(parent), name, geometry);
}

}  // namespace ferolin::ui
