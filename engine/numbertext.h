#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads a number as the scanner collected it: digits with at most one decimal point, with
// spaces and no-break spaces anywhere between them (digit grouping: "1 000 000" is a million).
// Any other text, or a value beyond the range of a double, reads as 0. The result is always
// the correctly rounded double, whatever the locale.
double ReadNumberText(std::u16string_view text);

// Rounds half to even into a 32-bit signed integer; nothing when the value (or NaN) does not
// fit, so that callers can leave their operand standing instead of converting out of range.
std::optional<std::int32_t> RoundToInt32(double value);
