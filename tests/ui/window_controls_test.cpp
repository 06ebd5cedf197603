// The window's layout, its control states and labels through a run, the
// settings combos, and Start with and without an output file.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/main_window.h"
#include "window_test_support.h"

using ferolin::TForm1;
using namespace ferolin::test;

namespace {

const QString kFound35 = QStringLiteral("Found") + QString(30, QLatin1Char(' '));
const QString kEnd35 = QStringLiteral("End  :") + QString(29, QLatin1Char(' '));
const QString kElapsed35 = QStringLiteral("Elapsed time") + QString(23, QLatin1Char(' '));

// A short run: center 1, "1/4", the first DiagA lines only.
constexpr ferolin::DiagARange kShortRange{0, 40};

struct States {
  bool button1, button2, from, to, priority, count, display, file;
};

States StatesOf(const TForm1& f) {
  return {f.Button1->isEnabled(),   f.Button2->isEnabled(),   f.ComboBox1->isEnabled(),
          f.ComboBox2->isEnabled(), f.ComboBox3->isEnabled(), f.ComboBox4->isEnabled(),
          f.ComboBox5->isEnabled(), f.CheckBox2->isEnabled()};
}

bool operator==(const States& a, const States& b) {
  return a.button1 == b.button1 && a.button2 == b.button2 && a.from == b.from && a.to == b.to &&
         a.priority == b.priority && a.count == b.count && a.display == b.display &&
         a.file == b.file;
}

char* toString(const States& s) {
  return qstrdup(QStringLiteral("B1=%1 B2=%2 From=%3 To=%4 Prio=%5 Count=%6 Disp=%7 File=%8")
                     .arg(s.button1).arg(s.button2).arg(s.from).arg(s.to).arg(s.priority)
                     .arg(s.count).arg(s.display).arg(s.file).toLatin1().constData());
}

const States kIdle{true, false, true, true, false, true, true, true};
const States kBusy{false, true, false, false, true, false, true, false};

}  // namespace

class WindowControlsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("Button1") << "Button1" << QRect(14, 7, 57, 18) << "Start";
    QTest::newRow("Button2") << "Button2" << QRect(80, 7, 57, 18) << "Stop";
    QTest::newRow("Panel1") << "Panel1" << QRect(14, 32, 128, 105) << "";
    QTest::newRow("StringGrid1") << "StringGrid1" << QRect(26, 45, 105, 80) << "";
    QTest::newRow("ComboBox1") << "ComboBox1" << QRect(39, 206, 38, 20) << "1";
    QTest::newRow("ComboBox2") << "ComboBox2" << QRect(106, 206, 38, 20) << "1";
    QTest::newRow("ComboBox3") << "ComboBox3" << QRect(11, 294, 92, 20) << " 0 (Normal)";
    QTest::newRow("CheckBox2") << "CheckBox2" << QRect(122, 294, 17, 17) << "";
    QTest::newRow("ComboBox4") << "ComboBox4" << QRect(12, 250, 45, 20) << "1/4";
    QTest::newRow("ComboBox5") << "ComboBox5" << QRect(72, 250, 79, 20) << "Every1000";
    QTest::newRow("Memo1") << "Memo1" << QRect(5, 323, 145, 89) << "";
    QTest::newRow("Label1") << "Label1" << QRect(15, 158, -1, -1) << "Start:";
    QTest::newRow("Label2") << "Label2" << QRect(15, 171, -1, -1) << "End  :";
    QTest::newRow("Label4") << "Label4" << QRect(7, 142, -1, -1) << "Found";
    QTest::newRow("Label3") << "Label3" << QRect(8, 210, -1, -1) << "From";
    QTest::newRow("Label5") << "Label5" << QRect(87, 210, -1, -1) << "To";
    QTest::newRow("Label6") << "Label6" << QRect(8, 190, -1, -1) << "Range of Central Value";
    QTest::newRow("Label7") << "Label7" << QRect(8, 278, -1, -1) << "Priority";
    QTest::newRow("Label8") << "Label8" << QRect(117, 278, -1, -1) << "File";
    QTest::newRow("Label9") << "Label9" << QRect(8, 234, -1, -1) << "Count";
    QTest::newRow("Label10") << "Label10" << QRect(67, 234, -1, -1) << "Display";
  }

  // Every control in its place with its text, and every caption and combo
  // item wide enough to be read whole.
  void layout() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    TForm1 form;
    QWidget* w = form.findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->pos(), geometry.topLeft());
    if (geometry.width() > 0) QCOMPARE(w->size(), geometry.size());
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
      QCOMPARE(label->text(), text);
      QVERIFY(label->width() >= fm.horizontalAdvance(text));
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      QCOMPARE(button->text(), text);
      QVERIFY(button->width() >= fm.horizontalAdvance(text) + 4);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      QCOMPARE(combo->currentText(), text);
      QStyleOptionComboBox opt;
      opt.initFrom(combo);
      opt.editable = combo->isEditable();
      const QRect field =
          combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
      for (int i = 0; i < combo->count(); ++i)
        QVERIFY2(field.width() >= fm.horizontalAdvance(combo->itemText(i).trimmed()),
                 qPrintable(combo->itemText(i)));
    }
  }

  void initialState() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Ferolin"));
    QCOMPARE(form.size(), QSize(156, 417));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 251, 240));
    QCOMPARE(form.font().pixelSize(), 12);
    QCOMPARE(StatesOf(form), (States{true, false, true, true, false, true, true, true}));
    QVERIFY(!form.CheckBox2->isChecked());
    QCOMPARE(form.ComboBox1->count(), 25);
    QCOMPARE(form.ComboBox1->itemText(24), QStringLiteral("25"));
    QCOMPARE(form.ComboBox3->currentIndex(), 2);
    QCOMPARE(form.ComboBox4->currentIndex(), -1);
    QCOMPARE(form.ComboBox5->currentIndex(), -1);
    QCOMPARE(form.DiagonalPasses.load(), 3);
    QCOMPARE(form.DisplayInterval.load(), 1000);
    QCOMPARE(form.StringGrid1->rowCount(), 5);
    QCOMPARE(form.StringGrid1->columnCount(), 5);
    QVERIFY(form.Memo1->isReadOnly());
  }

  void comboHandlers_data() {
    QTest::addColumn<int>("initFrom");
    QTest::addColumn<int>("initTo");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("before");  // an item picked first, -1 for none
    QTest::addColumn<int>("pick");    // -1: text typed instead of a pick
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("passes");
    QTest::addColumn<int>("interval");
    QTest::newRow("From raised above To pulls To up") << 0 << 14 << "ComboBox1" << -1 << 19 << 19 << 19 << 3 << 1000;
    QTest::newRow("To lowered below From pulls From down") << 9 << 14 << "ComboBox2" << -1 << 4 << 4 << 4 << 3 << 1000;
    QTest::newRow("From lowered leaves To") << 9 << 14 << "ComboBox1" << -1 << 4 << 4 << 14 << 3 << 1000;
    QTest::newRow("To raised leaves From") << 9 << 14 << "ComboBox2" << -1 << 20 << 9 << 20 << 3 << 1000;
    QTest::newRow("From equal to To") << 9 << 14 << "ComboBox1" << -1 << 14 << 14 << 14 << 3 << 1000;
    QTest::newRow("Count ALL") << 0 << 0 << "ComboBox4" << -1 << 1 << 0 << 0 << 12 << 1000;
    QTest::newRow("Count 1/4 after ALL") << 0 << 0 << "ComboBox4" << 1 << 0 << 0 << 0 << 3 << 1000;
    QTest::newRow("Count typed") << 0 << 0 << "ComboBox4" << 1 << -1 << 0 << 0 << 12 << 1000;
    QTest::newRow("Display ALL") << 0 << 0 << "ComboBox5" << -1 << 0 << 0 << 0 << 3 << 1;
    QTest::newRow("Display Every100") << 0 << 0 << "ComboBox5" << -1 << 1 << 0 << 0 << 3 << 100;
    QTest::newRow("Display Every1000 after ALL") << 0 << 0 << "ComboBox5" << 0 << 2 << 0 << 0 << 3 << 1000;
    QTest::newRow("Display typed") << 0 << 0 << "ComboBox5" << 1 << -1 << 0 << 0 << 3 << 100;
  }

  void comboHandlers() {
    QFETCH(int, initFrom);
    QFETCH(int, initTo);
    QFETCH(QString, combo);
    QFETCH(int, before);
    QFETCH(int, pick);
    TForm1 form;
    form.ComboBox1->setCurrentIndex(initFrom);  // set by the program: no handler runs
    form.ComboBox2->setCurrentIndex(initTo);
    QCOMPARE(form.ComboBox1->currentIndex(), initFrom);
    auto* box = form.findChild<QComboBox*>(combo);
    QVERIFY(box);
    if (before >= 0) Pick(box, before);
    if (pick >= 0) {
      Pick(box, pick);
    } else {
      box->lineEdit()->selectAll();
      QTest::keyClicks(box->lineEdit(), QStringLiteral("ALL"));  // typed, no item picked
    }
    QTEST(form.ComboBox1->currentIndex(), "from");
    QTEST(form.ComboBox2->currentIndex(), "to");
    QTEST(form.DiagonalPasses.load(), "passes");
    QTEST(form.DisplayInterval.load(), "interval");
  }

  // Idle, running, paused, running again and idle: control states, captions
  // and labels at each step, and nothing moves while paused.
  void runStates() {
    TForm1 form;
    form.SearchRange = {0, 60};
    QStringList errors;
    int dialogs = 0;
    AnswerDialogs(form, QString(), &errors, &dialogs);
    const Reference ref = ReferenceRun(1, 3, form.SearchRange, scratch_.filePath("states.ref"));
    form.Memo1->appendPlainText(QStringLiteral("earlier line"));

    form.Button1->click();
    QVERIFY(form.Running());
    QCOMPARE(dialogs, 0);  // File unchecked: no dialog
    QCOMPARE(StatesOf(form), kBusy);
    QCOMPARE(form.Button2->text(), QStringLiteral("Stop"));
    QCOMPARE(form.Label4->text(), kFound35);
    QCOMPARE(form.Label2->text(), kEnd35);
    QVERIFY(form.Label1->text().startsWith(QStringLiteral("Start: ")));
    QVERIFY(form.Label1->text().size() > 12);

    form.Button2->click();  // Stop
    QCOMPARE(form.Button2->text(), QStringLiteral("Continue"));
    QCOMPARE(StatesOf(form), kBusy);
    static const QRegularExpression elapsed(QStringLiteral("^Elapsed time  \\d+(\\.\\d+)? sec$"));
    QVERIFY2(elapsed.match(form.Label2->text()).hasMatch(), qPrintable(form.Label2->text()));
    QTest::qWait(150);  // the search reaches its safe point and waits there
    const QString shown = form.Label4->text();
    const QString memo = form.Memo1->toPlainText();
    QTest::qWait(400);
    QCOMPARE(form.Label4->text(), shown);
    QCOMPARE(form.Memo1->toPlainText(), memo);
    QVERIFY(form.Running());

    form.Button2->click();  // Continue
    QCOMPARE(form.Button2->text(), QStringLiteral("Stop"));
    QCOMPARE(form.Label2->text(), kElapsed35);
    QCOMPARE(StatesOf(form), kBusy);

    QVERIFY(WaitForIdle(form, 120000));
    QCOMPARE(StatesOf(form), kIdle);
    QCOMPARE(form.Button2->text(), QStringLiteral("Stop"));
    QCOMPARE(form.Label4->text(), QStringLiteral("Found %1 kyrs").arg(ref.found));
    QVERIFY(form.Label2->text().startsWith(QStringLiteral("End  : ")));
    QVERIFY(form.Label2->text().size() > 12);
    QCOMPARE(form.Memo1->toPlainText(),
             QStringLiteral("earlier line\nCenter=1 %1 kyrs").arg(ref.found));
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(errors.isEmpty());
  }

  void startWithFile_data() {
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("answer");   // "", "cancel", "new", "existing", "existing+bak"
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<bool>("checkedAfter");
    QTest::addColumn<bool>("refused");
    QTest::newRow("File unchecked") << false << "" << false << true << false << false;
    QTest::newRow("dialog cancelled") << true << "cancel" << true << true << false << false;
    QTest::newRow("new file") << true << "new" << true << true << true << false;
    QTest::newRow("existing file moved to .BAK") << true << "existing" << true << true << true << false;
    QTest::newRow("existing file and .BAK: run refused") << true << "existing+bak" << true << false << true << true;
  }

  void startWithFile() {
    QFETCH(bool, checked);
    QFETCH(QString, answer);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("run.txt"));
    const QString bak = dir.filePath(QStringLiteral("run.BAK"));
    const QByteArray oldRun = "old run\r\n", oldBak = "old backup\r\n";
    if (answer.startsWith(QStringLiteral("existing"))) QVERIFY(WriteFile(file, oldRun));
    if (answer == QStringLiteral("existing+bak")) QVERIFY(WriteFile(bak, oldBak));

    TForm1 form;
    form.SearchRange = kShortRange;
    QStringList errors;
    int dialogs = 0;
    AnswerDialogs(form, answer == QStringLiteral("cancel") ? QString() : file, &errors, &dialogs);
    form.CheckBox2->setChecked(checked);
    form.Button1->click();

    QTEST(dialogs == 1, "dialog");
    QTEST(form.Running(), "runs");
    QTEST(form.CheckBox2->isChecked(), "checkedAfter");
    QVERIFY(WaitForIdle(form, 120000));
    QTEST(form.CheckBox2->isChecked(), "checkedAfter");
    QCOMPARE(form.CheckBox2->isEnabled(), true);

    const QByteArray expected = ReferenceRun(1, 3, kShortRange, dir.filePath("ref")).records;
    if (answer == QStringLiteral("new") || answer == QStringLiteral("existing")) {
      QCOMPARE(ReadAll(file), expected);
      QVERIFY(errors.isEmpty());
    }
    if (answer == QStringLiteral("existing")) QCOMPARE(ReadAll(bak), oldRun);
    if (answer == QStringLiteral("new")) QVERIFY(!QFile::exists(bak));
    if (answer == QStringLiteral("existing+bak")) {
      QCOMPARE(ReadAll(file), oldRun);  // kept, not emptied
      QCOMPARE(ReadAll(bak), oldBak);
      QCOMPARE(errors.size(), 1);
      QVERIFY2(errors[0].contains(file) && errors[0].contains(QStringLiteral("File exists")),
               qPrintable(errors[0]));
      QCOMPARE(StatesOf(form), kIdle);
      QCOMPARE(form.Label1->text(), QStringLiteral("Start:"));  // nothing of a run began
      QVERIFY(form.Memo1->toPlainText().isEmpty());
    }
    if (answer.isEmpty() || answer == QStringLiteral("cancel")) {
      QVERIFY(!QFile::exists(file));
      QVERIFY(errors.isEmpty());
    }
  }

  // A file that cannot be created: the reason in a message box and no run.
  void startWithUncreatableFile() {
    QTemporaryDir dir;
    TForm1 form;
    QStringList errors;
    const QString file = dir.filePath(QStringLiteral("missing/run.txt"));
    AnswerDialogs(form, file, &errors);
    form.CheckBox2->setChecked(true);
    form.Button1->click();
    QVERIFY(!form.Running());
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(file) && errors[0].contains(QStringLiteral("No such file")),
             qPrintable(errors[0]));
    QCOMPARE(StatesOf(form), kIdle);
  }

  // A priority chosen during a run is applied to the worker at once; the next
  // run shows it but starts at normal priority.
  void priorityAppliesToTheRunningWorkerOnly() {
    TForm1 form;
    form.SearchRange = {0, 200};
    QStringList errors;
    AnswerDialogs(form, QString(), &errors);
    const int lowestNice = 10;
    QVERIFY(!ThreadNiceValues().contains(lowestNice));
    form.Button1->click();
    Pick(form.ComboBox3, 4);  // "-2 (Lowest)"
    QVERIFY(errors.isEmpty());
    QTRY_VERIFY(ThreadNiceValues().contains(lowestNice));  // once the worker is under way
    form.close();  // ends the run
    QVERIFY(!form.Running());
    QVERIFY(!ThreadNiceValues().contains(lowestNice));

    form.show();
    form.Button1->click();
    QCOMPARE(form.ComboBox3->currentText(), QStringLiteral("-2 (Lowest)"));
    QTest::qWait(100);
    QVERIFY(!ThreadNiceValues().contains(lowestNice));
    Pick(form.ComboBox3, 3);  // "-1 (Lower)"
    QTRY_VERIFY(ThreadNiceValues().contains(5));
    form.close();
  }

 private:
  static bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
  }

  QTemporaryDir scratch_;
};

QTEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
