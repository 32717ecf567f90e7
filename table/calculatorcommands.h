#pragma once

#include <QString>
#include <functional>

// The commands of the main window that other folders carry out. app/ fills them in, so the
// table never depends on the windows above it.
struct CalculatorCommands {
  std::function<void()> saveFile;  // cmdSaveFile, F2
  std::function<void()> readFile;  // cmdReadFile, F3
  // A formula file dropped on the window, by its path: read as a file the program was
  // started with.
  std::function<void(const QString& path)> openFile;
  std::function<void()> print;         // cmdPrint: compose the report and show the viewer
  std::function<void()> diagram;       // cmdDiagram: open the chart window
  std::function<void()> help;          // cmdHelp: show the help window
  std::function<void()> closeWindows;  // the main window unloads: close chart and viewer

  // Optional: only a program that keeps a recovery file needs to hear of these.
  // The formulas or the explanation now differ from the file last saved or read.
  std::function<void()> tableChanged;
  // The new-table command on a table that was empty already: nothing is left to keep.
  std::function<void()> emptyTableCleared;

  bool HasRequired() const {
    return saveFile && readFile && openFile && print && diagram && help && closeWindows;
  }
};
