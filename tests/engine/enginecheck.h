#pragma once

#include <QString>
#include <QTest>
#include <cmath>
#include <string_view>

#include "calcformula.h"

inline std::u16string_view View(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Stored results 100, 101, ... 126 for the 27 row records.
class NumberedRows : public RowResults {
 public:
  double Result(int slot) const override { return 100 + slot; }
};

// tolerance 0: the exact double (infinities included); otherwise relative.
inline bool SameValue(double actual, double expected, double tolerance) {
  if (tolerance == 0) return actual == expected;
  return std::fabs(actual - expected) <= tolerance * std::fabs(expected);
}

inline QByteArray Describe(double actual, double expected) {
  return QByteArray("actual ") + QByteArray::number(actual, 'g', 17) + " expected " +
         QByteArray::number(expected, 'g', 17);
}

// Evaluation cases share these columns: formula, value, tolerance, errorPos.
inline void AddEvaluationColumns() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<double>("value");
  QTest::addColumn<double>("tolerance");
  QTest::addColumn<int>("errorPos");
}

inline void AddCase(const char* name, const QString& formula, double value, int errorPos = 0,
                    double tolerance = 0) {
  QTest::newRow(name) << formula << value << tolerance << errorPos;
}

inline void CheckEvaluation(mdlCalcFunction& calc) {
  QFETCH(QString, formula);
  QFETCH(double, value);
  QFETCH(double, tolerance);
  QFETCH(int, errorPos);
  const double actual = calc.CalcFormula(View(formula));
  QVERIFY2(SameValue(actual, value, tolerance), Describe(actual, value).constData());
  QCOMPARE(calc.ErrorPos(), errorPos);
}
