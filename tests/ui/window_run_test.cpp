// Runs through the window: the file and result line against the records made
// directly by the searcher, a run paused and continued, the display interval
// changed during a run, a failing file, and the window closed mid-run.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

#include "platform/output_file.h"
#include "square_checker.h"
#include "ui/main_window.h"
#include "window_test_support.h"

using ferolin::TForm1;
using namespace ferolin::test;

namespace {

constexpr ferolin::DiagARange kRange{0, 60};  // center 1, "1/4": about a second

// Every line a whole record numbered 1, 2, ... whose cells form a magic square.
QString RecordFault(const QByteArray& records) {
  if (!records.isEmpty() && !records.endsWith("\r\n")) return QStringLiteral("cut record at the end");
  qint64 expected = 1;
  for (const QByteArray& line : records.split('\n')) {
    if (line.isEmpty()) continue;
    const QList<QByteArray> f = line.chopped(1).trimmed().split(' ');
    if (f.size() != 26 || f[0].toLongLong() != expected++) return QString::fromLatin1(line);
    checker::Grid g{};
    for (int i = 0; i < 25; ++i) g[static_cast<std::size_t>(i)] = f[i + 1].toInt();
    if (!checker::Fault(g).empty()) return QString::fromStdString(checker::Fault(g));
  }
  return {};
}

}  // namespace

class WindowRunTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    ref_ = ReferenceRun(1, 3, kRange, dir_.filePath("reference"));
    QVERIFY(ref_.found > 1000);
  }

  // An uninterrupted run showing every square, and the same run paused and
  // continued several times: the same result line and byte-identical files.
  void runMatchesTheSearcher_data() {
    QTest::addColumn<int>("pauses");
    QTest::newRow("uninterrupted, every square shown") << 0;
    QTest::newRow("paused and continued") << 4;
  }

  void runMatchesTheSearcher() {
    QFETCH(int, pauses);
    const QString file = dir_.filePath(QStringLiteral("run%1.txt").arg(pauses));
    TForm1 form;
    form.SearchRange = kRange;
    QStringList errors;
    AnswerDialogs(form, file, &errors);
    form.CheckBox2->setChecked(true);
    if (pauses == 0) Pick(form.ComboBox5, 0);  // "ALL"
    form.Button1->click();
    QVERIFY(form.Running());
    for (int i = 0; i < pauses && form.Running(); ++i) {
      QTest::qWait(60);
      form.Button2->click();  // Stop
      QTest::qWait(60);
      form.Button2->click();  // Continue
    }
    QVERIFY(WaitForIdle(form, 120000));
    QVERIFY(errors.isEmpty());
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("Center=1 %1 kyrs").arg(ref_.found));
    QCOMPARE(form.Label4->text(), QStringLiteral("Found %1 kyrs").arg(ref_.found));
    QCOMPARE(ReadAll(file), ref_.records);
    if (pauses == 0) QCOMPARE(GridCells(form), RecordCells(ref_.records, ref_.found));
  }

  // Every100, then ALL, then Every1000, each chosen during the run: the shown
  // counts follow at once, and the grid shows the square of the shown count.
  void displayIntervalChangedDuringRun() {
    const QString file = dir_.filePath(QStringLiteral("display.txt"));
    TForm1 form;
    form.SearchRange = {0, 150};
    QStringList errors;
    AnswerDialogs(form, file, &errors);
    form.CheckBox2->setChecked(true);
    Pick(form.ComboBox5, 1);  // "Every100"
    form.Button1->click();

    QTRY_VERIFY_WITH_TIMEOUT(ShownCount(form) > 0, 60000);
    QCOMPARE(ShownCount(form) % 100, 0);
    QVERIFY2(form.Label2->text().startsWith(QStringLiteral("End  : ")), qPrintable(form.Label2->text()));
    qint64 shown = ShownCount(form);
    QCOMPARE(GridCells(form), RecordCells(ReadAll(file), shown));

    Pick(form.ComboBox5, 0);  // "ALL"
    QTRY_VERIFY_WITH_TIMEOUT(ShownCount(form) % 100 != 0, 30000);
    shown = ShownCount(form);
    QCOMPARE(GridCells(form), RecordCells(ReadAll(file), shown));

    Pick(form.ComboBox5, 2);  // "Every1000"
    QTRY_VERIFY_WITH_TIMEOUT(ShownCount(form) > shown && ShownCount(form) % 1000 == 0, 30000);
    QTest::qWait(100);
    QCOMPARE(ShownCount(form) % 1000, 0);
    form.close();
    QVERIFY(errors.isEmpty());
  }

  // A write that fails: one "File error" line, and the search goes on to the
  // right count.
  void writeFailureIsReportedOnce() {
    if (!QFile::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full here");
    TForm1 form;
    form.SearchRange = kRange;
    QStringList errors;
    AnswerDialogs(form, QStringLiteral("/dev/full"), &errors);
    form.CheckBox2->setChecked(true);
    form.Button1->click();
    QVERIFY(form.Running());
    QVERIFY(WaitForIdle(form, 120000));
    QCOMPARE(form.Memo1->toPlainText(),
             QStringLiteral("File error: %1\nCenter=1 %2 kyrs")
                 .arg(QString::fromStdString(ferolin::platform::SystemReason(ENOSPC)))
                 .arg(ref_.found));
    QVERIFY(errors.isEmpty());
  }

  // Closing the window mid-run, searching or paused: the worker stops at its
  // next safe point, the file holds whole records that begin the run's
  // stream, and the window goes without trouble.
  void closeDuringRun_data() {
    QTest::addColumn<bool>("paused");
    QTest::newRow("searching") << false;
    QTest::newRow("paused") << true;
  }

  void closeDuringRun() {
    QFETCH(bool, paused);
    const QString file = dir_.filePath(QStringLiteral("closed%1.txt").arg(paused));
    auto form = std::make_unique<TForm1>();
    form->SearchRange = {0, 300};  // far longer than the test waits
    QStringList errors;
    AnswerDialogs(*form, file, &errors);
    form->CheckBox2->setChecked(true);
    Pick(form->ComboBox5, 0);  // "ALL": the worker reports all the time
    form->show();
    form->Button1->click();
    QTRY_VERIFY_WITH_TIMEOUT(ShownCount(*form) > 100, 60000);
    if (paused) form->Button2->click();
    QVERIFY(form->close());
    QVERIFY(!form->Running());
    form.reset();
    QCoreApplication::processEvents();  // reports still queued for the window go nowhere

    const QByteArray records = ReadAll(file);
    QVERIFY(!records.isEmpty());
    const QString fault = RecordFault(records);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    const qint64 n = records.count('\n');
    QCOMPARE(records, ReferenceRun(1, 3, {0, 300}, dir_.filePath("prefix"), n).records);
    QVERIFY(errors.isEmpty());
  }

 private:
  QTemporaryDir dir_;
  Reference ref_;
};

QTEST_MAIN(WindowRunTest)
#include "window_run_test.moc"
