#include "reportnumbers.h"

#include "numbertext.h"

std::optional<int> RoundToShort(double value) {
  const auto rounded = RoundToInt32(value);
  if (!rounded || *rounded < -32768 || *rounded > 32767) return std::nullopt;
  return *rounded;
}
