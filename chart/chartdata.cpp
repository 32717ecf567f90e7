#include "chartdata.h"

#include <cmath>

#include "tablestate.h"

QString ChartTitle(const QString& explanation) {
  const QString trimmed = TrimBlanks(explanation);
  if (!trimmed.isEmpty() && trimmed.front().unicode() > 0x20) return explanation;
  return QStringLiteral("Графика");
}

QString ChartTitleLine(const QString& title, int limit) {
  qsizetype end = 0;
  while (end < title.size() && end <= limit && title[end] != u'\r' && title[end] != u'\n') ++end;
  if (end <= limit) return title.left(end);
  qsizetype cut = limit;
  if (cut > 0 && title[cut - 1].isHighSurrogate()) --cut;  // never half a character
  return title.left(cut) + u'…';
}

double ChartValue(double result) {
  if (!std::isfinite(result)) return 0;
  // The chart is handed each value as decimal text of 15 significant digits.
  // Near the largest double the rounded text can overflow; keep the value itself then.
  const double rounded = QString::number(result, 'g', 15).toDouble();
  return std::isfinite(rounded) ? rounded : result;
}

ChartData ChartSnapshot(const TableState& state) {
  ChartData data;
  data.title = ChartTitle(state.explanation);
  for (int i = 0; i < kChartPoints; ++i) data.values[i] = ChartValue(state.rows[i].result);
  return data;
}
