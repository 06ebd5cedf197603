#include "ui/locale_texts.h"

#include "platform/general_number_text.h"

namespace ferolin::ui {

QString DateTimeText(const QDateTime& when, const QLocale& locale) {
  const QDateTime local = when.toLocalTime();
  return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(local.time(), QLocale::LongFormat);
}

QString ElapsedSecondsText(qint64 ms, const QLocale& locale) {
  const std::string separator = locale.decimalPoint().toStdString();
  return QString::fromStdString(platform::GeneralNumberText(ms < 0 ? -ms : ms, 3, 4, separator));
}

}  // namespace ferolin::ui
