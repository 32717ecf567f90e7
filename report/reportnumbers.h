#pragma once

#include <optional>

// The value rounded to the nearest integer, halves to the even neighbour, when the result
// fits a 16-bit signed integer; nothing otherwise.
std::optional<int> RoundToShort(double value);
