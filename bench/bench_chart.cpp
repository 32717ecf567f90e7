#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>

#include "qtbenchmarkmain.h"
#include "diagram.h"
#include "dialogs.h"
#include "fixedprinttarget.h"
#include "tablestate.h"

namespace {

// Bytes the C library has handed out and not yet got back (Qt allocates through malloc).
double BytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM").
double StatusBytes(const QByteArray& key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(key + ':'))
      return line.mid(key.size() + 1).trimmed().split(' ').first().toDouble() * 1024;
  return 0;
}

// Starts the peak resident size afresh from the present one.
void ResetPeak() {
  QFile refs(QStringLiteral("/proc/self/clear_refs"));
  if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// The chart window with an explanation of the given length, shown and painted. Reports the
// bytes in use while it is open and after it is gone, over those before it was built, and
// how far the resident size rose at its peak (memory the C library keeps once it is taken).
void ChartWithExplanation(benchmark::State& run) {
  TableState state;
  state.explanation = QString(static_cast<qsizetype>(run.range(0)), u'Ж');
  for (int k = 0; k < kChartPoints; ++k) state.rows[k].result = k * 10.5;
  QtDialogs dialogs;
  QPrinter printer;
  FixedPrintTarget target(printer);
  double open = 0;
  double closed = 0;
  double peak = 0;
  for (auto _ : run) {
    ResetPeak();
    const double residentBefore = StatusBytes("VmRSS");
    const double before = BytesInUse();
    {
      Diagram window(state, dialogs, target);
      window.show();
      window.repaint();
      QApplication::processEvents();
      open += BytesInUse() - before;
    }
    QApplication::processEvents();
    closed += BytesInUse() - before;
    peak += StatusBytes("VmHWM") - residentBefore;
  }
  run.counters["bytes_open"] = benchmark::Counter(open, benchmark::Counter::kAvgIterations);
  run.counters["bytes_after_close"] =
      benchmark::Counter(closed, benchmark::Counter::kAvgIterations);
  run.counters["peak_rss_rise"] = benchmark::Counter(peak, benchmark::Counter::kAvgIterations);
}
BENCHMARK(ChartWithExplanation)
    ->Arg(10)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  return RunWindowBenchmarks(argc, argv);
}
