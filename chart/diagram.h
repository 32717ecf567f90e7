#pragma once

#include <QImage>
#include <QWidget>

#include "chartdata.h"

class Dialogs;
class PrintTarget;
class QChart;
class QChartView;
class QPrinter;
class QPushButton;
class TableState;

// The results chart window: one bar per table row under the table's title, and two buttons
// over the chart's upper right corner. It charts the snapshot taken when it was built.
class Diagram final : public QWidget {
  Q_OBJECT
 public:
  Diagram(const TableState& state, Dialogs& dialogs, PrintTarget& target,
          QWidget* parent = nullptr);
  ~Diagram() override;

  const ChartData& Data() const { return m_data; }
  QChart* Chart() const;
  QPushButton* PrintButton() const { return m_print; }
  QPushButton* ExitButton() const { return m_exit; }

  // The client area as it is printed: the buttons are hidden for the picture and shown
  // again afterwards. Drawn at several times the screen resolution so the print is sharp.
  QImage PrintImage();
  // cmdPrint: the picture on the printer's page, as large as fits, proportions kept.
  // A failure is reported in a message box; false when nothing was printed.
  bool Print();

 private:
  void BuildChart();
  bool PaintOnPrinter(QPrinter& printer);

  Dialogs& m_dialogs;
  PrintTarget& m_target;
  ChartData m_data;
  QChartView* m_view;
  QPushButton* m_print;
  QPushButton* m_exit;
};
