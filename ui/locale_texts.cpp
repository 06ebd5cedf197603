#include "ui/locale_texts.h"

#include "platform/general_number_text.h"

namespace ferolin::ui {

namespace {

// The locale's long time format without its time-zone field: hours, minutes
// and seconds as the user writes them.
QString LongTimeFormat(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString out;
  bool quoted = false;
  for (const QChar ch : format) {
    if (ch == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && ch == QLatin1Char('t')) continue;
    out += ch;
  }
  return out.trimmed();
}

}  // namespace

QString DateTimeText(const QDateTime& when, const QLocale& locale) {
  const QDateTime local = when.toLocalTime();
  return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(local.time(), LongTimeFormat(locale));
}

QString ElapsedSecondsText(qint64 ms, const QLocale& locale) {
  const std::string separator = locale.decimalPoint().toStdString();
  return QString::fromStdString(platform::GeneralNumberText(ms < 0 ? -ms : ms, 3, 4, separator));
}

}  // namespace ferolin::ui
