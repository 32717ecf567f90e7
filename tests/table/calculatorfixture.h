#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "frmcalculator.h"
#include "scripteddialogs.h"
#include "tablestate.h"
#include "testguards.h"

inline const QColor kYellow(230, 230, 16);  // the current row or field
inline const QColor kWhite(255, 255, 255);
inline const QColor kRed(255, 0, 0);  // the row a delete question is about

// A shown, active main window on fresh state, with scripted questions.
struct CalculatorFixture {
  explicit CalculatorFixture(Dialogs* dialogs = nullptr, UserLocale locale = {})
      : window(state, dialogs ? *dialogs : scripted, locale) {
    window.SetCommands(commands);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  QLineEdit* Box(int row) const { return window.FormulaBox(row); }
  QString Result(int row) const { return window.ResultLabel(row)->text(); }
  QPushButton* Button(const char* name) const {
    return window.findChild<QPushButton*>(QLatin1String(name));
  }
  void Click(const char* name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
  // Types a formula into a row and presses Enter there.
  void Enter(int row, const QString& text) const {
    Box(row)->setFocus();
    Box(row)->setText(text);
    QTest::keyClick(Box(row), Qt::Key_Return);
  }
  QColor BoxColour(int row) const { return Box(row)->palette().color(QPalette::Base); }
  // Records 0..25 hold the formulas "1".."26" with those results, shown.
  void FillNumbered() {
    for (int k = 0; k <= kHiddenRecord; ++k) {
      state.rows[k].SetFormula(QString::number(k + 1));
      state.rows[k].result = k + 1;
    }
    window.MakeScreen();
  }

  TableState state;
  ScriptedDialogs scripted;
  CalculatorCommands commands;
  frmCalculator window;
};
