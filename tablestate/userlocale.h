#pragma once

#include <QChar>

#include "calcformula.h"

class QLocale;

// What the program takes from the user's locale, read once at start-up and handed down.
struct UserLocale {
  QChar decimalPoint = u'.';
  DateSettings dates;

  static UserLocale From(const QLocale& locale);
};
