// A priority the system refuses: the reason in a message box, the combo back
// on the priority in effect, and the worker going on as before. The test
// process first gives up the right to raise priorities.
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include "ui/main_window.h"
#include "window_test_support.h"

using ferolin::TForm1;
using namespace ferolin::test;

namespace {

// Drops CAP_SYS_NICE from this thread (threads made later inherit that) and
// allows no nice value below the current one.
bool GiveUpRaisingPriority() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  const unsigned bit = 1u << (CAP_SYS_NICE % 32);
  data[CAP_SYS_NICE / 32].effective &= ~bit;
  data[CAP_SYS_NICE / 32].permitted &= ~bit;
  if (::syscall(SYS_capset, &header, data) != 0) return false;
  const rlimit none{0, 0};
  return ::setrlimit(RLIMIT_NICE, &none) == 0;
}

}  // namespace

class WindowPriorityRefusedTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void refusedPriorityIsReportedAndNotApplied() {
    QVERIFY(GiveUpRaisingPriority());
    TForm1 form;
    form.SearchRange = {0, 200};
    QStringList errors;
    AnswerDialogs(form, QString(), &errors);
    form.Button1->click();
    Pick(form.ComboBox3, 3);  // "-1 (Lower)": always allowed
    QVERIFY(errors.isEmpty());
    QTRY_VERIFY(ThreadNiceValues().contains(5));

    Pick(form.ComboBox3, 0);  // "+2 (Highest)": refused
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(QStringLiteral("Permission denied")), qPrintable(errors[0]));
    QCOMPARE(form.ComboBox3->currentIndex(), 3);  // the priority still in effect
    QVERIFY(!ThreadNiceValues().contains(-10));
    QVERIFY(ThreadNiceValues().contains(5));
    QVERIFY(form.Running());
    form.close();
  }
};

QTEST_MAIN(WindowPriorityRefusedTest)
#include "window_priority_refused_test.moc"
