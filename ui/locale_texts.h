// Texts in the user's locale: a date-time (short date, a space, long time
// without the time zone) and
// elapsed seconds in general format with 4 significant digits.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace ferolin::ui {

QString DateTimeText(const QDateTime& when, const QLocale& locale = QLocale());

// The whole milliseconds `ms` as seconds: 250 -> "0.25", 12345600 -> "1.235E4".
QString ElapsedSecondsText(qint64 ms, const QLocale& locale = QLocale());

}  // namespace ferolin::ui
