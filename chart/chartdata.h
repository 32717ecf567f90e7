#pragma once

#include <QString>
#include <array>

class TableState;

inline constexpr int kChartPoints = 25;  // the table rows 1..25; the hidden row is not charted

// What the chart window shows: the title and one value per table row.
struct ChartData {
  QString title;
  std::array<double, kChartPoints> values{};
};

// The explanation as stored when, trimmed of blanks, it starts with a character above the
// blank; otherwise the default title.
QString ChartTitle(const QString& explanation);

// What the chart lays out of a title: its first line, and of that at most `limit` characters,
// with "…" where it was cut. More never fits the chart's width (the chart elides the rest),
// and laying out an endless title would take hundreds of megabytes.
QString ChartTitleLine(const QString& title, int limit = 512);

// A row's result as the chart takes it: 15 significant digits, and 0 for a value that is not
// a finite number (an infinite bar would leave the value axis without a scale).
double ChartValue(double result);

// The title and the results of records 0..24 at this moment.
ChartData ChartSnapshot(const TableState& state);
