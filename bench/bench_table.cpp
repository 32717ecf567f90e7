#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "dialogs.h"
#include "frmcalculator.h"
#include "qtbenchmarkmain.h"
#include "tablerecovery.h"
#include "tablestate.h"

namespace {

// A day's work of an accountant: figures, sums of rows above and below, functions.
const char16_t* const kFormulas[] = {
    u"1250.40",         u"3*417.25",
    u"SUM(1)+SUM(2)",   u"SUM(3)*0.2",
    u"SUM(3)+SUM(4)",   u"(12.5+7.25)*4/3",
    u"SIN(30)+COS(60)", u"SQR(2)*SQR(8)",
    u"LOG(1000)+LN(1)", u"[SUM(5)>5000,1,0]",
    u"2^10-1",          u"SUM(26)",
    u"100\\7",          u"100~7",
    u"EXP(1)",          u"TAN(45)*PI",
    u"DEG(PI)",         u"RAD(180)",
    u"F-C(212)",        u"C-F(100)",
    u"KLM(10)",         u"MIL(16.09)",
    u"SFUT(3)",         u"SDUIM(12)",
    u"SUM(24)/2",       u"SUM(1)-SUM(2)+SUM(3)",
};

// One recalculation and the repaint it causes: tools/callgrind-window counts the instructions
// of this function alone, and the steps taken, printed when the program ends.
long g_steps = 0;
const struct StepsAtExit {
  ~StepsAtExit() {
    if (g_steps > 0) std::fprintf(stderr, "recalculate+repaint steps: %ld\n", g_steps);
  }
} kStepsAtExit;

[[gnu::noinline]] void RecalculateStep(frmCalculator& window, TableState& state, bool odd) {
  ++g_steps;
  state.rows[0].SetFormula(odd ? u"1250.40" : u"1250.41");
  window.Recalculate();           // evaluates records 0..25, then MakeScreen
  QApplication::processEvents();  // paints what changed
}

// The window's commands, doing nothing: the benchmarks press none of them.
CalculatorCommands Idle() {
  CalculatorCommands commands;
  commands.saveFile = commands.readFile = commands.print = commands.diagram = commands.help =
      commands.closeWindows = [] {};
  commands.openFile = [](const QString&) {};
  return commands;
}

void RecalculateAndRepaint(benchmark::State& run) {
  TableState state;
  for (int k = 0; k <= kHiddenRecord; ++k) state.rows[k].SetFormula(QStringView(kFormulas[k]));
  // Shown with the figures, so a formula that the evaluator rejects does not go unnoticed.
  mdlCalcFunction evaluator({}, &state);
  int wrong = 0;
  for (int k = 0; k <= kHiddenRecord; ++k) {
    evaluator.CalcFormula(ToU16(state.rows[k].formula));
    wrong += evaluator.ErrorPos() > 0;
  }
  run.counters["wrong_formulas"] = wrong;
  QtDialogs dialogs;
  frmCalculator window(state, dialogs, UserLocale{}, Idle());
  window.show();
  QApplication::processEvents();
  // The first figure changes every time, so every result that depends on it is repainted.
  bool odd = false;
  for (auto _ : run) RecalculateStep(window, state, odd = !odd);
  benchmark::DoNotOptimize(state.rows[0].result);
}
BENCHMARK(RecalculateAndRepaint)->Unit(benchmark::kMicrosecond);

// Enter in a row of a table typed into a fresh window (four formulas, the other records
// cleared, so the recovery file has its usual 7 KB): store, evaluate, repaint and, with a
// recovery folder, keep the table there as the program does: encoded once the event loop is
// idle, and written, renamed and synced by the writer's thread, so the keystroke waits for no
// disk. "disk" keeps the folder on the file system of /tmp, "tmpfs" on /dev/shm; "disk, on the
// keystroke" writes and syncs before the keystroke ends, as the program did before.
enum class Keeping { None, Disk, Tmpfs, DiskOnKeystroke };

void EnterRow(benchmark::State& run, Keeping keeping) {
  TableState state;
  for (int k = 0; k < 4; ++k) state.rows[k].SetFormula(QStringView(kFormulas[k]));
  QtDialogs dialogs;
  QTemporaryDir folder(keeping == Keeping::Tmpfs ? QStringLiteral("/dev/shm/vz-bench-XXXXXX")
                                                 : QString());
  if (!folder.isValid()) {
    run.SkipWithError("no folder for the recovery file");
    return;
  }
  TableRecovery keeper(folder.path(), dialogs);
  CalculatorCommands commands = Idle();
  if (keeping == Keeping::DiskOnKeystroke)
    commands.tableChanged = [&] { keeper.Write(state); };
  else if (keeping != Keeping::None)
    commands.tableChanged = [&] { keeper.Keep(state); };
  frmCalculator window(state, dialogs, UserLocale{}, std::move(commands));
  window.show();
  QApplication::processEvents();
  QLineEdit* box = window.FormulaBox(3);
  for (auto _ : run) {
    box->setText(QStringLiteral("SUM(3)*0.2"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(box, &enter);
    QApplication::processEvents();
  }
  keeper.Flush();
  run.counters["recovery_bytes"] = static_cast<double>(QFileInfo(keeper.FilePath()).size());
}
BENCHMARK_CAPTURE(EnterRow, without_recovery, Keeping::None)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EnterRow, recovery_on_disk, Keeping::Disk)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EnterRow, recovery_on_tmpfs, Keeping::Tmpfs)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EnterRow, recovery_on_disk_on_keystroke, Keeping::DiskOnKeystroke)
    ->Unit(benchmark::kMicrosecond);

void BuildAndShowWindow(benchmark::State& run) {
  TableState state;
  QtDialogs dialogs;
  for (auto _ : run) {
    frmCalculator window(state, dialogs, UserLocale{}, Idle());
    window.show();
    window.repaint();
    benchmark::DoNotOptimize(window.FormulaBox(0));
  }
}
BENCHMARK(BuildAndShowWindow)->Unit(benchmark::kMillisecond);

// The floor the main window's start is judged against: a window with a label and a line edit.
void BuildAndShowFloorWindow(benchmark::State& run) {
  for (auto _ : run) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Ред 1"), &window));
    auto* box = new QLineEdit(&window);
    layout->addWidget(box);
    window.show();
    window.repaint();
    benchmark::DoNotOptimize(box);
  }
}
BENCHMARK(BuildAndShowFloorWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWindowBenchmarks(argc, argv);
}
