// Texts in the user's locale: the elapsed seconds shown by Stop (general
// format, 4 significant digits, rounded half up, the user's decimal
// separator) and the date-time of the Start and End labels.
#include <QLocale>
#include <QtTest>

#include "ui/locale_texts.h"

class LocaleTextsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void format_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64{0} << "0";
    QTest::newRow("quarter second") << qint64{250} << "0.25";
    QTest::newRow("one millisecond") << qint64{1} << "0.001";
    QTest::newRow("whole seconds") << qint64{5000} << "5";
    QTest::newRow("rounded up") << qint64{83456} << "83.46";
    QTest::newRow("rounded down") << qint64{83454} << "83.45";
    QTest::newRow("half rounds up") << qint64{83455} << "83.46";
    QTest::newRow("four integer digits") << qint64{1234560} << "1235";
    QTest::newRow("just below 10^4") << qint64{9999400} << "9999";
    QTest::newRow("carries to 10^4") << qint64{9999600} << "1E4";
    QTest::newRow("tie at 9999.5 carries") << qint64{9999500} << "1E4";
    QTest::newRow("carry inside fraction") << qint64{999950} << "1000";
    QTest::newRow("scientific") << qint64{12345600} << "1.235E4";
    QTest::newRow("10200 seconds") << qint64{10200000} << "1.02E4";
    QTest::newRow("a day") << qint64{86400000} << "8.64E4";
    QTest::newRow("trailing zeros dropped") << qint64{1500} << "1.5";
    QTest::newRow("negative difference") << qint64{-250} << "0.25";
  }

  void format() {
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(ferolin::ui::ElapsedSecondsText(ms, QLocale::c()), text);
  }

  void usesTheLocaleDecimalSeparator() {
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(ferolin::ui::ElapsedSecondsText(83456, german), QStringLiteral("83,46"));
    QCOMPARE(ferolin::ui::ElapsedSecondsText(12345600, german), QStringLiteral("1,235E4"));
  }

  // Short date, a space, the long time without the time zone.
  void dateTime_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "12/11/26 1:05:09 PM";
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "11.12.26 13:05:09";
    QTest::newRow("ja_JP") << QLocale(QLocale::Japanese, QLocale::Japan)
                           << QString::fromUtf8("2026/12/11 13時05分09秒");
  }

  void dateTime() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    const QDateTime when(QDate(2026, 12, 11), QTime(13, 5, 9));
    QCOMPARE(ferolin::ui::DateTimeText(when, locale), text);
  }
};

QTEST_GUILESS_MAIN(LocaleTextsTest)
#include "locale_texts_test.moc"
