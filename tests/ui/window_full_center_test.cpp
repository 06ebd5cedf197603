// A whole center through the window against ferolin-cli: the same result line
// and a byte-identical records file. FEROLIN_CLI names the command-line
// program; FEROLIN_UI_TEST_CENTER the center (1 by default).
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/main_window.h"
#include "window_test_support.h"

using ferolin::TForm1;
using namespace ferolin::test;

class WindowFullCenterTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void oneCenterQuarterMatchesCli() {
    const QString cli = qEnvironmentVariable("FEROLIN_CLI");
    QVERIFY2(!cli.isEmpty(), "FEROLIN_CLI is not set");
    const int center = qEnvironmentVariableIsSet("FEROLIN_UI_TEST_CENTER")
                           ? qEnvironmentVariableIntValue("FEROLIN_UI_TEST_CENTER")
                           : 1;
    QVERIFY(center >= 1 && center <= 25);
    QTemporaryDir dir;
    const QString windowFile = dir.filePath(QStringLiteral("window.txt"));
    const QString cliFile = dir.filePath(QStringLiteral("cli.txt"));

    TForm1 form;
    QStringList errors;
    AnswerDialogs(form, windowFile, &errors);
    form.ComboBox1->setCurrentIndex(center - 1);
    form.ComboBox2->setCurrentIndex(center - 1);
    Pick(form.ComboBox4, 0);  // "1/4"
    form.CheckBox2->setChecked(true);
    form.Button1->click();
    QVERIFY(form.Running());
    QVERIFY(WaitForIdle(form, 3600 * 1000));
    QVERIFY(errors.isEmpty());

    QProcess run;
    run.start(cli, {QStringLiteral("--from"), QString::number(center), QStringLiteral("--to"),
                    QString::number(center), QStringLiteral("--count"), QStringLiteral("1/4"),
                    QStringLiteral("--output"), cliFile, QStringLiteral("--quiet")});
    QVERIFY(run.waitForFinished(3600 * 1000));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    const QString cliLine = QString::fromLatin1(run.readAllStandardOutput()).trimmed();
    QVERIFY(cliLine.startsWith(QStringLiteral("Center=%1 ").arg(center)));
    QCOMPARE(form.Memo1->toPlainText(), cliLine);
    const QByteArray fromWindow = ReadAll(windowFile);
    QVERIFY(!fromWindow.isEmpty());
    QVERIFY(fromWindow == ReadAll(cliFile));  // not QCOMPARE: megabytes in a failure message
  }
};

QTEST_MAIN(WindowFullCenterTest)
#include "window_full_center_test.moc"
