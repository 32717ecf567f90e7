// Feeds arbitrary UTF-16 text to the evaluator. The first byte picks the date settings and the
// row results, the rest is read as UTF-16 code units; the error reason and the date helpers get
// the text as well.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "calcformula.h"
#include "datetext.h"
#include "formulaerror.h"

namespace {

class OddRows : public RowResults {
 public:
  double Result(int slot) const override {
    if (slot < 0 || slot > 26) __builtin_trap();  // SUM must stay inside the row store
    switch (slot % 4) {
      case 0:
        return std::numeric_limits<double>::infinity();
      case 1:
        return std::numeric_limits<double>::quiet_NaN();
      case 2:
        return -1;
      default:
        return slot * 1e300;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  ++data;
  --size;
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);

  static const char16_t kSeparators[] = {u'.', u'/', u'-', u' '};
  const DateSettings settings{static_cast<DateOrder>(mode % 3), kSeparators[(mode / 3) % 4]};
  OddRows rows;
  mdlCalcFunction calc(settings, (mode & 0x80) ? &rows : nullptr);
  calc.CalcFormula(text);
  const int errorPos = calc.ErrorPos();
  if (errorPos < 0 || static_cast<std::size_t>(errorPos) > text.size() + 13) __builtin_trap();
  // A reason is found only for a formula that has an error.
  const FormulaErrorCause cause = FindErrorCause(text, settings);
  if (errorPos == 0 && cause.fault != FormulaFault::None) __builtin_trap();

  const NormalizedDate date = NormalizeDate(text, settings);
  if (date.date && !date.date->ok()) __builtin_trap();
  PadNumber(text.empty() ? 0 : static_cast<double>(text[0]) - 30000, mode % 45 - 2, mode % 23);
  return 0;
}
