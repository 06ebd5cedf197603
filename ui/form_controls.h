// A small stand-in for the forms library's controls on top of Qt Widgets:
// each maker creates a control at a fixed position and size in its parent's
// client area, with the designer's name as the object name.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace ferolin::ui {

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry, const QString& caption);

// A label sizes itself to its caption; SetCaption keeps it so.
QLabel* MakeLabel(QWidget* parent, const char* name, QPoint topLeft, const QString& caption);
void SetCaption(QLabel* label, const QString& caption);

// `selected` -1 shows `text` with no item selected (editable combos only).
QComboBox* MakeComboBox(QWidget* parent, const char* name, QRect geometry, const QStringList& items,
                        bool editable, int selected, const QString& text = {});

QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry, QColor colour);

// A grid of text cells with no headers, no scroll bars and no border;
// colWidth and rowHeight exclude the one-pixel grid line.
QTableWidget* MakeStringGrid(QWidget* parent, const char* name, QRect geometry, int cols, int rows,
                             int colWidth, int rowHeight);
void SetGridCell(QTableWidget* grid, int col, int row, const QString& text);

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, QRect geometry);

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, QRect geometry);

}  // namespace ferolin::ui
