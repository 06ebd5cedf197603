// The window's modal dialogs behind a seam, so a test can answer them.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ferolin::ui {

struct FormDialogs {
  // The save dialog: the file name the user confirmed, or an empty string if
  // the user cancelled. No overwrite prompt: an existing file is backed up.
  std::function<QString(QWidget* parent)> askSaveFileName;
  // A message box with a failure the user must know about.
  std::function<void(QWidget* parent, const QString& text)> showError;

  static FormDialogs Standard();
};

}  // namespace ferolin::ui
