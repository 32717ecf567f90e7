#pragma once

#include <QValidator>
#include <algorithm>

#include "formulaline.h"

// Keeps a text field to one line, as a row and the formula file hold it: a line break or a tab
// pasted, dropped or set becomes a blank (FormulaLine), so the field shows what is stored.
class OneLineValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    QString line = FormulaLine(input);
    if (line != input) {
      pos = std::min(pos, static_cast<int>(line.size()));
      input = std::move(line);
    }
    return Acceptable;
  }
};
