#include "userlocale.h"

#include <QDate>
#include <QLocale>

UserLocale UserLocale::From(const QLocale& locale) {
  UserLocale result;
  result.numbers = locale;
  result.decimalPoint = locale.decimalPoint().isEmpty() ? QChar(u'.') : locale.decimalPoint()[0];

  // The date separator is the first non-digit of today's date in the short format.
  const QString today = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
  for (QChar c : today) {
    if (c < u'0' || c > u'9') {
      result.dates.separator = c.unicode();
      break;
    }
  }

  const QString format = locale.dateFormat(QLocale::ShortFormat);
  const qsizetype d = format.indexOf(u'd');
  const qsizetype m = format.indexOf(u'M');
  const qsizetype y = format.indexOf(u'y');
  if (d >= 0 && m >= 0 && y >= 0) {
    if (y < m && m < d)
      result.dates.order = DateOrder::YearMonthDay;
    else if (m < d)
      result.dates.order = DateOrder::MonthDayYear;
    else
      result.dates.order = DateOrder::DayMonthYear;
  }
  return result;
}
