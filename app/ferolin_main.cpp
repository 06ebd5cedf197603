// The window's program: the application object, the main window, the message
// loop. An exception that escapes is shown in a message box.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ferolin"));
  try {
    ferolin::TForm1 form;
    form.show();
    return app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Ferolin"), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    QMessageBox::critical(nullptr, QStringLiteral("Ferolin"), QString());
  }
  return 1;
}
