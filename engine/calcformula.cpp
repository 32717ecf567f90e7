#include "calcformula.h"

mdlCalcFunction::mdlCalcFunction(DateSettings dates, const RowResults* rows)
    : m_dates(dates), m_rows(rows) {}

double mdlCalcFunction::CalcFormula(std::u16string_view) {
  m_errorPos = 0;
  return 0;
}
