#include "window_test_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>
#include <QThread>
#include <atomic>

#include "ui/main_window.h"
#include "worker/center_search.h"
#include "worker/record_writer.h"

namespace ferolin::test {

void Pick(QComboBox* combo, int index) {
  combo->setCurrentIndex(index);
  Q_EMIT combo->activated(index);
}

void AnswerDialogs(TForm1& form, const QString& fileName, QStringList* errors, int* dialogShown) {
  form.Dialogs.askSaveFileName = [fileName, dialogShown](QWidget*) {
    if (dialogShown) ++*dialogShown;
    return fileName;
  };
  form.Dialogs.showError = [errors](QWidget*, const QString& text) { errors->append(text); };
}

bool WaitForIdle(TForm1& form, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (form.Running()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

std::int64_t ShownCount(const TForm1& form) {
  static const QRegularExpression re(QStringLiteral("^Found (\\d+) kyrs$"));
  const auto m = re.match(form.Label4->text());
  return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

QByteArray GridCells(const TForm1& form) {
  QByteArray out;
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c) out += form.StringGrid1->item(r, c)->text().toLatin1() + ' ';
  return out;
}

QByteArray RecordCells(const QByteArray& records, std::int64_t count) {
  const QByteArray prefix = QByteArray::number(count) + ' ';
  for (const QByteArray& line : records.split('\n')) {
    if (line.startsWith(prefix)) return line.mid(prefix.size()).chopped(1);  // drop CR
  }
  return {};
}

Reference ReferenceRun(std::int32_t center, std::int32_t passes, DiagARange range,
                       const QString& scratchFile, std::int64_t maxSquares) {
  const int fd = ::open(QFile::encodeName(scratchFile).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  Reference ref;
  if (fd < 0) return ref;
  {
    RecordWriter writer(fd, 0);
    CenterSearcher searcher(1);
    searcher.SetDiagARange(range);
    RunControl control;
    CenterProgress progress;
    const std::atomic<std::int32_t> diagonalPasses{passes};
    const CenterResult result =
        searcher.Run(center, diagonalPasses, control, progress,
                     [&](const std::int32_t* cells, std::int32_t n) {
                       if (maxSquares > 0 && n > maxSquares) return;
                       writer.Append(n, cells);
                       if (maxSquares > 0 && n == maxSquares) control.Stop();
                     });
    ref.found = result.found;
  }
  ::close(fd);
  ref.records = ReadAll(scratchFile);
  return ref;
}

QList<int> ThreadNiceValues() {
  QList<int> nices;
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile stat(tasks.filePath(tid) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    // Fields after the command name in parentheses; nice is field 19.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 16) nices << fields[16].toInt();
  }
  return nices;
}

}  // namespace ferolin::test
