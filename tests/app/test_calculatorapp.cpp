#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "calculatorapp.h"
#include "fixedprinttarget.h"
#include "prerenderedwindowicon.h"
#include "scripteddialogs.h"
#include "tablestate.h"
#include "testguards.h"

// The main window with every window it opens, connected as the program connects them.
class TestCalculatorApp : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void reportAndChartWindowsFollowTheTable();
  void saveAndReadThroughTheKeys();
  void helpOpensModallyAndCloses();
  void windowIconAsDrawn_data();
  void windowIconAsDrawn();
  void startFileFillsTheTable_data();
  void startFileFillsTheTable();

 private:
  void Enter(int row, const QString& formula) {
    QLineEdit* box = m_app->Window().FormulaBox(row);
    box->setFocus();
    box->setText(formula);
    QTest::keyClick(box, Qt::Key_Return);
  }
  void Click(const char* name) {
    auto* button = m_app->Window().findChild<QPushButton*>(QLatin1String(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_previousDir;
  QPrinter m_printer;
  FixedPrintTarget m_target{m_printer};
  std::unique_ptr<TableState> m_state;
  std::unique_ptr<ScriptedDialogs> m_dialogs;
  std::unique_ptr<CalculatorApp> m_app;
  std::unique_ptr<ModalGuard> m_guard;
};

void TestCalculatorApp::init() {
  // The start directory is the process's current one, as main makes it; relative start files
  // are found from there.
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  m_previousDir = QDir::currentPath();
  QDir::setCurrent(m_dir->path());

  m_printer.setOutputFormat(QPrinter::PdfFormat);
  m_printer.setOutputFileName(m_dir->filePath(QStringLiteral("print.pdf")));
  m_state = std::make_unique<TableState>(m_dir->path());
  m_dialogs = std::make_unique<ScriptedDialogs>();
  m_app = std::make_unique<CalculatorApp>(*m_state, *m_dialogs, m_target, UserLocale{});
  m_app->Window().show();
  m_app->Window().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m_app->Window()));
  m_guard = std::make_unique<ModalGuard>();
}

void TestCalculatorApp::cleanup() {
  m_app.reset();
  QCOMPARE(m_guard->TakeSeen(), QStringList());
  m_guard.reset();
  QCOMPARE(m_dialogs->Pending(), 0);
  QDir::setCurrent(m_previousDir);
  m_dir.reset();
}

void TestCalculatorApp::reportAndChartWindowsFollowTheTable() {
  Enter(0, QStringLiteral("2+3*4"));
  Enter(2, QStringLiteral("-7"));
  m_app->Window().SetExplanationField(QStringLiteral("  Пример  "));
  Click("cmdPrint");
  Click("cmdDiagram");
  frmShowSpravki* viewer = m_app->Reports().Viewer();
  Diagram* chart = m_app->Charts().Window();
  QVERIFY(viewer && viewer->isVisible() && chart && chart->isVisible());
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Справка"));
  const QString page = viewer->ReportPages().value(0);
  QVERIFY2(page.startsWith(QString(23, u' ') + QStringLiteral("Пример\r\n")), qPrintable(page));
  QVERIFY(page.contains(QStringLiteral("  1  2+3*4")));
  QVERIFY(page.contains(QStringLiteral("14.0000 \r\n")));

  // A second report reuses the open viewer with the table as it is now; the chart keeps the
  // results of the moment it opened, and a second click only raises it.
  Enter(0, QStringLiteral("50"));
  Enter(1, QStringLiteral("SQR(16)"));
  Click("cmdPrint");
  Click("cmdDiagram");
  QCOMPARE(m_app->Reports().Viewer(), viewer);
  QVERIFY(viewer->ReportPages().value(0).contains(QStringLiteral("  2  SQR(16)")));
  QCOMPARE(m_app->Charts().Window(), chart);
  QCOMPARE(chart->Data().values[0], 14.0);
  QCOMPARE(chart->Data().values[2], -7.0);

  // Closing the main window closes both.
  Click("cmdExit");
  QTRY_VERIFY(!m_app->Reports().Viewer() || !m_app->Reports().Viewer()->isVisible());
  QTRY_VERIFY(!m_app->Charts().Window() || !m_app->Charts().Window()->isVisible());
  QVERIFY(!m_app->Window().isVisible());
}

void TestCalculatorApp::saveAndReadThroughTheKeys() {
  Enter(0, QStringLiteral("25+65"));
  Enter(1, QStringLiteral("SUM(1)*2"));
  m_app->Window().SetExplanationField(QStringLiteral("Сметка"));

  m_dialogs->AnswerInput(QStringLiteral("smetka"));
  QTest::keyClick(m_app->Window().FormulaBox(2), Qt::Key_F2);
  QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("smetka.SPR"))));
  QCOMPARE(m_dialogs->Of(QStringLiteral("input")).value(0).title,
           QStringLiteral("Запис на справка"));

  m_dialogs->AnswerQuestion(true);
  Click("cmdNew");
  m_app->Window().SetExplanationField(QString());

  // The chooser hands back the name in upper case; the file is found whatever its case.
  m_dialogs->AnswerFile(QStringLiteral("SMETKA.SPR"));
  QTest::keyClick(m_app->Window().FormulaBox(0), Qt::Key_F3);
  QCOMPARE(m_dialogs->Of(QStringLiteral("file")).value(0).text, QStringLiteral("*.SPR"));
  QCOMPARE(m_app->Window().FormulaBox(0)->text(), QStringLiteral("25+65"));
  QCOMPARE(m_app->Window().FormulaBox(1)->text(), QStringLiteral("SUM(1)*2"));
  QCOMPARE(m_app->Window().ExplanationFieldText(), QStringLiteral("Сметка"));
  // Its results show at once, recalculated from the top, and nothing is marked as changed.
  QCOMPARE(m_app->Window().ResultLabel(1)->text(), QStringLiteral("180.0000 "));
  QCOMPARE(m_app->Window().Mark(1), ResultMark::None);
  // The read replaced the table without a question; Ctrl+Z brings it back, Ctrl+Y the file.
  QTest::keyClick(m_app->Window().FormulaBox(3), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(m_app->Window().FormulaBox(0)->text(), QString());
  QCOMPARE(m_app->Window().ExplanationFieldText(), QString());
  QTest::keyClick(m_app->Window().FormulaBox(0), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(m_app->Window().FormulaBox(1)->text(), QStringLiteral("SUM(1)*2"));
  QCOMPARE(m_app->Window().ExplanationFieldText(), QStringLiteral("Сметка"));
  QCOMPARE(m_state->rows[1].result, 180.0);
  QCOMPARE(m_dialogs->Of(QStringLiteral("message")).size(), 0);

  // A file that cannot be read is reported, and the table stays as it was: nothing to undo.
  const int steps = m_app->Window().UndoHistory().count();
  m_dialogs->AnswerFile(QStringLiteral("gone.SPR"));
  QTest::keyClick(m_app->Window().FormulaBox(0), Qt::Key_F3);
  QCOMPARE(m_app->Window().UndoHistory().count(), steps);
  QCOMPARE(m_dialogs->Of(QStringLiteral("message")).value(0).text,
           QStringLiteral("53: Файлът не е намерен"));
  QCOMPARE(m_app->Window().FormulaBox(0)->text(), QStringLiteral("25+65"));
  QCOMPARE(m_app->Window().ExplanationFieldText(), QStringLiteral("Сметка"));
}

void TestCalculatorApp::helpOpensModallyAndCloses() {
  QString seenTitle;
  AnswerNextModal([&seenTitle](QWidget* modal) {
    seenTitle = modal->windowTitle();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  Click("cmdHelp");
  QCOMPARE(seenTitle, QStringLiteral("Помощна информация"));
  QVERIFY(!QApplication::activeModalWidget());
}

void TestCalculatorApp::windowIconAsDrawn_data() {
  QTest::addColumn<int>("side");
  for (const int side : {16, 32, 64, 128}) QTest::addRow("%d", side) << side;
}

// The icon the program was built with is the launcher's SVG as the image reader draws it.
void TestCalculatorApp::windowIconAsDrawn() {
  QFETCH(int, side);
  const QImage icon = PrerenderedWindowIcon(QSize(side, side));
  QVERIFY(!icon.isNull());
  QImageReader reader(QStringLiteral(VZ_WINDOW_ICON));
  reader.setScaledSize(QSize(side, side));
  QCOMPARE(icon, reader.read());
}

void TestCalculatorApp::startFileFillsTheTable_data() {
  QTest::addColumn<QString>("given");    // relative to the folder "files", "" for the fixture
  QTest::addColumn<QString>("message");  // "" when the file is read
  QTest::addColumn<bool>("dropped");     // onto the window rather than named at the start

  QTest::newRow("read and recalculated") << QStringLiteral("budget.SPR") << QString() << false;
  QTest::newRow("missing file") << QStringLiteral("nothere.SPR")
                                << QStringLiteral("53: Файлът не е намерен") << false;
  QTest::newRow("dropped, undone") << QStringLiteral("budget.SPR") << QString() << true;
}

// A file given on the command line: read as the read command reads it, recalculated, and its
// folder the start directory for a save.
void TestCalculatorApp::startFileFillsTheTable() {
  QFETCH(QString, given);
  QFETCH(QString, message);
  QFETCH(bool, dropped);
  frmCalculator& window = m_app->Window();
  const QString folder = m_dir->filePath(QStringLiteral("files"));
  QVERIFY(QDir().mkpath(folder));
  QVERIFY(QFile::copy(QStringLiteral(VZ_TEST_DATA "/budget.SPR"), folder + "/budget.SPR"));

  if (dropped) {  // a drop reaches the control that took the drag's entry
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(folder + u'/' + given)});
    QDragEnterEvent enter({9, 9}, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop({9, 9}, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.FormulaBox(5), &enter);
    QApplication::sendEvent(window.FormulaBox(5), &drop);
    QTRY_COMPARE(window.FormulaBox(2)->text(), QStringLiteral("SQR(2)"));
    window.Undo();
    QCOMPARE(window.FormulaBox(2)->text(), QString());
    window.Redo();
  } else {
    m_app->OpenStartFile(QStringLiteral("files/") + given);
  }
  QCOMPARE(m_state->startDirectory, folder);
  QCOMPARE(m_dialogs->Of(QStringLiteral("message")).value(0).text, message);
  m_dialogs->ClearLog();
  // Row 3, its result, the explanation and row 4's result.
  const QStringList shown{window.FormulaBox(2)->text(), window.ResultLabel(2)->text(),
                          window.ExplanationFieldText(), window.ResultLabel(3)->text()};
  const QStringList read{"SQR(2)", "1.4142 ", "Бюджет за май", "28.0000 "};
  QCOMPARE(shown, message.isEmpty() ? read : QStringList(4, QString()));
  if (!message.isEmpty()) return;

  m_dialogs->AnswerInput(QString());
  QTest::keyClick(window.FormulaBox(0), Qt::Key_F2);
  QCOMPARE(m_dialogs->Of(QStringLiteral("input")).value(0).defaultText,
           QStringLiteral("budget.SPR"));
  m_dialogs->AnswerInput(QStringLiteral("copy"));
  QTest::keyClick(window.FormulaBox(0), Qt::Key_F2);
  QVERIFY(QFile::exists(folder + "/copy.SPR"));
  QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("copy.SPR"))));
}

QTEST_MAIN(TestCalculatorApp)
#include "test_calculatorapp.moc"
