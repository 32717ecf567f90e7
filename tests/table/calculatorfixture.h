#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "frmcalculator.h"
#include "scripteddialogs.h"
#include "tablestate.h"
#include "testguards.h"

inline const QColor kYellow(230, 230, 16);  // the current row or field
inline const QColor kWhite(255, 255, 255);
inline const QColor kRed(255, 0, 0);  // the row a delete question is about

// A shown, active main window on fresh state, with scripted questions. Every command the
// window runs is named in `ran` (the optional ones are not), then carried out by the hook a
// test put in `hooks`, if any.
struct CalculatorFixture {
  explicit CalculatorFixture(Dialogs* dialogs = nullptr, UserLocale locale = {})
      : window(state, dialogs ? *dialogs : scripted, locale, Recorded()) {
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

  // Makes one change of the table by name, in `row` where it acts on a row, as the user
  // would: "enter", "enter-wrong" (kept on Да), "function", "insert", "delete" and "keep-row"
  // (its question answered Да or Не), "new" and "keep-table" likewise, "explanation" (typed)
  // and "digits" (the rounding field typed).
  void Change(QStringView kind, int row) {
    Box(row)->setFocus();
    if (kind == u"enter") {
      Enter(row, QStringLiteral("=10/4"));
    } else if (kind == u"enter-wrong") {
      scripted.AnswerQuestion(true);
      Enter(row, QStringLiteral("2+3)"));
      QCOMPARE(scripted.Pending(), 0);  // it was asked about
    } else if (kind == u"function") {
      Click("cmdSin");
    } else if (kind == u"insert") {
      Click("cmdInsert");
    } else if (kind == u"delete" || kind == u"keep-row") {
      scripted.AnswerQuestion(kind == u"delete");
      QTest::keyClick(Box(row), Qt::Key_Delete, Qt::ControlModifier);
    } else if (kind == u"new" || kind == u"keep-table") {
      scripted.AnswerQuestion(kind == u"new");
      Click("cmdNew");
    } else if (kind == u"explanation") {
      window.ExplanationField()->setFocus();
      QTest::keyClicks(window.ExplanationField(), " maj");
    } else if (kind == u"digits") {
      window.RoundingField()->setFocus();
      window.RoundingField()->selectAll();
      QTest::keyClicks(window.RoundingField(), "12");
    } else {
      QFAIL(qPrintable(QStringLiteral("no change ") + kind.toString()));
    }
  }

  // What `act` did, on a window whose row 5 holds "2*3", stored and not yet calculated: the
  // commands that the windows above carry out, the questions asked (answered "no", as many as
  // `expected` lists), and a recalculation or an inserted row seen in the records.
  QStringList Run(const std::function<void()>& act, const QStringList& expected) {
    for (int i = 0; i < expected.filter(QStringLiteral("? ")).size(); ++i)
      scripted.AnswerQuestion(false);
    scripted.ClearLog();
    ran.clear();
    const bool calculated = state.rows[4].result == 6;
    const bool inserted = state.rows[5].DisplayText() == u"2*3";
    act();
    for (const ScriptedDialogs::Asked& asked : scripted.Log())
      ran << QStringLiteral("? ") + asked.text;
    if (!calculated && state.rows[4].result == 6) ran << QStringLiteral("recalc");
    if (!inserted && state.rows[5].DisplayText() == u"2*3") ran << QStringLiteral("insert");
    return ran;
  }

  TableState state;
  ScriptedDialogs scripted;
  QStringList ran;
  CalculatorCommands hooks;
  frmCalculator window;

 private:
  CalculatorCommands Recorded() {
    using Hook = std::function<void()> CalculatorCommands::*;
    const auto run = [this](const char* name, Hook hook) {
      return [this, name, hook] {
        if (*name) ran << QLatin1String(name);
        if (hooks.*hook) (hooks.*hook)();
      };
    };
    using C = CalculatorCommands;
    return {.saveFile = run("save", &C::saveFile),
            .readFile = run("read", &C::readFile),
            .openFile =
                [this](const QString& path) {
                  ran << QStringLiteral("open ") + path;
                  if (hooks.openFile) hooks.openFile(path);
                },
            .print = run("print", &C::print),
            .diagram = run("diagram", &C::diagram),
            .help = run("help", &C::help),
            .closeWindows = run("close", &C::closeWindows),
            .tableChanged = run("", &C::tableChanged),
            .emptyTableCleared = run("", &C::emptyTableCleared)};
  }
};
