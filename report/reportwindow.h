#pragma once

#include <QObject>
#include <QString>

#include "frmshowspravki.h"
#include "singlewindow.h"

class Dialogs;
class PrintTarget;

// Keeps the one report viewer of the run: created by the first report, reused while it is
// open, gone once it is closed (the next report creates it afresh).
class ReportWindow final : public QObject {
  Q_OBJECT
 public:
  ReportWindow(Dialogs& dialogs, PrintTarget& target, QObject* parent = nullptr);

  // Shows `text` as a one-page report in the viewer, without blocking the caller.
  void ShowReport(const QString& text);
  // Closes the viewer if it is open, as its exit button does.
  void Close();
  // The open viewer, or null.
  frmShowSpravki* Viewer() const { return m_viewer.Open(); }

 private:
  Dialogs& m_dialogs;
  PrintTarget& m_target;
  SingleWindow<frmShowSpravki> m_viewer;
};
