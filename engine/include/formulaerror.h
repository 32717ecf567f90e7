#pragma once

#include <string>
#include <string_view>

#include "calcformula.h"

// The common reasons why a formula does not parse.
enum class FormulaFault {
  None,          // none of those below, or no error
  FunctionName,  // a name in lower case or not known, at the error
  DecimalComma,  // a comma between digits outside a conditional bracket: 12,5
  MissingParen,  // the text ends inside an unclosed "("
};

struct FormulaErrorCause {
  FormulaFault fault = FormulaFault::None;
  std::u16string name;       // FunctionName: the name as typed
  std::u16string knownName;  // FunctionName: its upper-case spelling when that is a function
};

// Why formula does not parse, as far as the common reasons tell; the name at the error comes
// first, as it is what the error position shows.
FormulaErrorCause FindErrorCause(std::u16string_view formula, DateSettings dates = {});
