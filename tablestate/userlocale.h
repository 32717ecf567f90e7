#pragma once

#include <QChar>
#include <QLocale>

#include "calcformula.h"

// What the program takes from the user's locale, read once at start-up and handed down.
struct UserLocale {
  QChar decimalPoint = u'.';
  DateSettings dates;
  // The locale itself, for reading figures pasted in the user's own form (group marks,
  // currency); made with the other fields so that all of them agree.
  QLocale numbers = QLocale::c();

  static UserLocale From(const QLocale& locale);
};
