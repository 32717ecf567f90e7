#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

// The main() of the benchmarks that build windows: offscreen unless a platform is named, so
// they run the same on a desktop and in a terminal.
inline int RunWindowBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
