#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Order in which the user's locale writes day, month and year.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The user's date settings, handed in by the caller (the engine never asks the system).
struct DateSettings {
  DateOrder order = DateOrder::DayMonthYear;
  char16_t separator = u'.';
};

// Read-only view of the stored results of the 27 row records; slot k is table row k + 1.
class RowResults {
 public:
  virtual ~RowResults() = default;
  virtual double Result(int slot) const = 0;
};

// The formula evaluator. Each CalcFormula call resets the parser state, so one object can
// evaluate any number of formulas one after another.
class mdlCalcFunction {
 public:
  explicit mdlCalcFunction(DateSettings dates = {}, const RowResults* rows = nullptr);

  void SetRows(const RowResults* rows) { m_rows = rows; }
  void SetDateSettings(DateSettings dates) { m_dates = dates; }

  // Evaluates one formula; ErrorPos() then tells where parsing stopped (0: no error).
  double CalcFormula(std::u16string_view formula);
  int ErrorPos() const { return m_errorPos; }

 private:
  DateSettings m_dates;
  const RowResults* m_rows = nullptr;
  int m_errorPos = 0;
};
