#include "ui/form_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace ferolin::ui {

FormDialogs FormDialogs::Standard() {
  FormDialogs d;
  d.askSaveFileName = [](QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QString(), QString(), QString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
  };
  d.showError = [](QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QCoreApplication::applicationName(), text);
  };
  return d;
}

}  // namespace ferolin::ui
