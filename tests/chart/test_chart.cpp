#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <cmath>
#include <limits>

#include "diagram.h"
#include "diagramowner.h"
#include "faultydisk.h"
#include "fixedprinttarget.h"
#include "scripteddialogs.h"
#include "tablestate.h"
#include "testguards.h"

namespace {

QBarSet* BarsOf(const Diagram& window) {
  const auto series = window.Chart()->series();
  if (series.size() != 1) return nullptr;
  auto* bars = qobject_cast<QBarSeries*>(series.front());
  return bars && bars->count() == 1 ? bars->barSets().front() : nullptr;
}

QValueAxis* ValueAxisOf(const Diagram& window) {
  const auto axes = window.Chart()->axes(Qt::Vertical);
  return axes.size() == 1 ? qobject_cast<QValueAxis*>(axes.front()) : nullptr;
}

// Dark pixels (text) inside a rectangle of an image.
int DarkPixels(const QImage& image, const QRect& rect) {
  int dark = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (qGray(image.pixel(x, y)) < 96) ++dark;
  return dark;
}

void DeleteClosed() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestChart : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QVERIFY2(m_guard->TakeSeen().isEmpty(), "a modal dialog appeared"); }

  void title_data();
  void title();
  void values_data();
  void values();
  void valueAxis_data();
  void valueAxis();
  void layout();
  void snapshot();
  void exitDestroys();
  void printImageHidesButtons();
  void print_data();
  void print();

 private:
  std::unique_ptr<ModalGuard> m_guard;
  ScriptedDialogs m_dialogs;
  QPrinter m_printer;
  FixedPrintTarget m_target{m_printer};
};

void TestChart::title_data() {
  QTest::addColumn<QString>("explanation");
  QTest::addColumn<QString>("expected");
  const QString fallback = QStringLiteral("Графика");
  const auto Row = [](const char* name, const QString& explanation, const QString& expected) {
    QTest::newRow(name) << explanation << expected;
  };
  Row("empty", QString(), fallback);
  Row("blanks-only", "     ", fallback);
  Row("plain", "Разходи за март", "Разходи за март");
  Row("leading-blanks-kept", "   Отчет", "   Отчет");
  Row("trailing-blanks-kept", "Отчет  ", "Отчет  ");
  Row("leading-tab", "\tОтчет", fallback);
  Row("leading-nul", QString(QChar(0)) + "Отчет", fallback);
  Row("punctuation-first", "!Отчет", "!Отчет");
  // Only what can be seen is laid out: the first line, and of a garbage one its start.
  Row("first-line-only", "Отчет\r\nвтори ред", "Отчет");
  Row("longest-kept-whole", QString(512, u'Ж'), QString(512, u'Ж'));
  Row("endless-cut", QString(100000, u'Ж'), QString(512, u'Ж') + u'…');
  Row("no-half-character", QString(511, u'Ж') + QString::fromUtf8("\xF0\x9D\x9C\x8B") + u'Ж',
      QString(511, u'Ж') + u'…');
}

void TestChart::title() {
  QFETCH(QString, explanation);
  QFETCH(QString, expected);
  TableState state;
  state.explanation = explanation;
  const Diagram window(state, m_dialogs, m_target);
  QCOMPARE(window.Chart()->title(), expected);
  QVERIFY(!window.Chart()->legend()->isVisible());
}

void TestChart::values_data() {
  QTest::addColumn<int>("record");
  QTest::addColumn<double>("result");
  QTest::addColumn<double>("charted");
  const double inf = std::numeric_limits<double>::infinity();
  QTest::newRow("first-row") << 0 << 14.5 << 14.5;
  QTest::newRow("last-row") << 24 << -3.0 << -3.0;
  QTest::newRow("fifteen-digits") << 4 << (0.1 + 0.2) << 0.3;
  QTest::newRow("tiny") << 5 << 1e-300 << 1e-300;
  QTest::newRow("largest") << 6 << std::numeric_limits<double>::max()
                           << std::numeric_limits<double>::max();
  QTest::newRow("plus-infinity") << 7 << inf << 0.0;
  QTest::newRow("minus-infinity") << 8 << -inf << 0.0;
  QTest::newRow("nan") << 9 << std::nan("") << 0.0;
  QTest::newRow("hidden-row-not-charted") << 25 << 99.0 << 0.0;
}

// Rows 1 and 3 of the table always hold values; the row under test adds one more.
void TestChart::values() {
  QTest::failOnWarning(QRegularExpression(QStringLiteral("invalid range|NaN")));
  QFETCH(int, record);
  QFETCH(double, result);
  QFETCH(double, charted);
  TableState state;
  state.rows[0].result = 90;
  state.rows[2].result = 448;
  state.rows[record].result = result;
  const Diagram window(state, m_dialogs, m_target);

  QBarSet* bars = BarsOf(window);
  QVERIFY(bars);
  QCOMPARE(bars->count(), kChartPoints);
  const auto rows = window.Chart()->axes(Qt::Horizontal);
  QCOMPARE(rows.size(), 1);
  QStringList expectedLabels;
  for (int i = 1; i <= kChartPoints; ++i) expectedLabels.append(QString::number(i));
  QCOMPARE(qobject_cast<QBarCategoryAxis*>(rows.front())->categories(), expectedLabels);
  for (int i = 0; i < kChartPoints; ++i) {
    double expected = i == 0 ? 90 : i == 2 ? 448 : 0;
    if (i == record) expected = charted;
    QCOMPARE(bars->at(i), expected);
  }
}

void TestChart::valueAxis_data() {
  QTest::addColumn<double>("low");
  QTest::addColumn<double>("high");
  QTest::newRow("all-zero") << 0.0 << 0.0;
  QTest::newRow("positive") << 3.0 << 448.0;
  QTest::newRow("negative") << -120.0 << -5.0;
  QTest::newRow("both-signs") << -75.5 << 90.0;
  QTest::newRow("extremes") << -std::numeric_limits<double>::max()
                            << std::numeric_limits<double>::max();
}

// The scale reaches every value and the zero line.
void TestChart::valueAxis() {
  QTest::failOnWarning(QRegularExpression(QStringLiteral("invalid range|NaN")));
  QFETCH(double, low);
  QFETCH(double, high);
  TableState state;
  state.rows[3].result = low;
  state.rows[11].result = high;
  const Diagram window(state, m_dialogs, m_target);
  QValueAxis* axis = ValueAxisOf(window);
  QVERIFY(axis);
  QVERIFY(axis->min() <= std::min(0.0, low));
  QVERIFY(axis->max() >= std::max(0.0, high));
  QVERIFY(axis->max() > axis->min());
}

void TestChart::layout() {
  TableState state;
  Diagram window(state, m_dialogs, m_target);
  QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
  QCOMPARE(window.size(), QSize(757, 497));
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QVERIFY(!(window.windowFlags() & Qt::WindowMinMaxButtonsHint));
  QCOMPARE(window.PrintButton()->text(), QStringLiteral("Печат"));
  QCOMPARE(window.ExitButton()->text(), QStringLiteral("Изход"));
  QCOMPARE(window.PrintButton()->geometry(), QRect(594, 22, 63, 23));
  QCOMPARE(window.ExitButton()->geometry(), QRect(660, 22, 63, 23));
  // Both buttons sit over the chart, so they must be above it in the stacking order.
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QPoint onPrint = window.PrintButton()->geometry().center();
  QCOMPARE(window.childAt(onPrint), window.PrintButton());
  QCOMPARE(window.childAt(window.ExitButton()->geometry().center()), window.ExitButton());
}

void TestChart::snapshot() {
  TableState state;
  state.rows[0].result = 1;
  state.explanation = QStringLiteral("Първо");
  DiagramOwner owner(m_dialogs, m_target);
  QVERIFY(!owner.Window());

  owner.Open(state);
  QPointer<Diagram> first = owner.Window();
  QVERIFY(first);
  QVERIFY(first->isVisible());

  // Editing the table while the window is open changes nothing, reopening included.
  state.rows[0].result = 2;
  state.explanation = QStringLiteral("Второ");
  owner.Open(state);
  QCOMPARE(owner.Window(), first.data());
  QCOMPARE(BarsOf(*first)->at(0), 1.0);
  QCOMPARE(first->Chart()->title(), QStringLiteral("Първо"));

  owner.Close();
  QVERIFY(!owner.Window());
  DeleteClosed();
  QVERIFY(!first);

  owner.Open(state);
  QVERIFY(owner.Window());
  QCOMPARE(BarsOf(*owner.Window())->at(0), 2.0);
  QCOMPARE(owner.Window()->Chart()->title(), QStringLiteral("Второ"));
}

void TestChart::exitDestroys() {
  TableState state;
  DiagramOwner owner(m_dialogs, m_target);
  owner.Open(state);
  QPointer<Diagram> window = owner.Window();
  QVERIFY(window);
  QTest::mouseClick(window->ExitButton(), Qt::LeftButton);
  QVERIFY(!owner.Window());
  DeleteClosed();
  QVERIFY(!window);

  // Closed from the frame, then opened at once: a fresh window with the new results.
  owner.Open(state);
  window = owner.Window();
  window->close();
  state.rows[1].result = 7;
  owner.Open(state);
  QVERIFY(owner.Window());
  QVERIFY(owner.Window() != window.data());
  QCOMPARE(BarsOf(*owner.Window())->at(1), 7.0);
}

void TestChart::printImageHidesButtons() {
  TableState state;
  state.rows[0].result = 10;
  Diagram window(state, m_dialogs, m_target);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  const QRect buttons = window.PrintButton()
                            ->geometry()
                            .united(window.ExitButton()->geometry())
                            .adjusted(3, 3, -3, -3);
  const QImage screen = window.grab().toImage();
  const qreal ratio = screen.devicePixelRatio();
  const QRect onScreen(buttons.topLeft() * ratio, buttons.size() * ratio);
  QVERIFY(DarkPixels(screen, onScreen) > 20);  // the captions are there on screen

  const QImage picture = window.PrintImage();
  const int scale = picture.width() / window.width();
  QVERIFY(scale >= 2);
  QCOMPARE(picture.size(), window.size() * scale);
  QCOMPARE(DarkPixels(picture, QRect(buttons.topLeft() * scale, buttons.size() * scale)), 0);
  QVERIFY(DarkPixels(picture, picture.rect()) > 1000);  // while the chart itself is drawn
  QVERIFY(window.PrintButton()->isVisible());
  QVERIFY(window.ExitButton()->isVisible());
}

// Printed into a PDF file, or not: the printer cannot start where a file stands in place of
// the PDF's folder (so even as root), or the user gives up.
void TestChart::print_data() {
  QTest::addColumn<QString>("folder");  // of chart.pdf; "file/" names a plain file
  QTest::addColumn<bool>("refused");
  QTest::addColumn<QString>("message");  // empty: none
  QTest::addColumn<int>("pages");
  QTest::newRow("printed") << QString() << false << QString() << 1;
  QTest::newRow("printer-cannot-start") << "file/" << false << "482: Грешка на принтера" << 0;
  QTest::newRow("user-gave-up") << "file/" << true << QString() << 0;
}

void TestChart::print() {
  QFETCH(QString, folder);
  QFETCH(bool, refused);
  QFETCH(QString, message);
  QFETCH(int, pages);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  WriteAll(dir.filePath(QStringLiteral("file")), "");
  TableState state;
  state.rows[0].result = 25;
  state.rows[1].result = -10;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(folder + QStringLiteral("chart.pdf")));
  FixedPrintTarget target(printer, refused);
  Diagram window(state, m_dialogs, target);
  window.show();
  m_dialogs.ClearLog();

  QTest::mouseClick(window.PrintButton(), Qt::LeftButton);
  QVERIFY(window.PrintButton()->isVisible());
  QVERIFY(window.ExitButton()->isVisible());
  QCOMPARE(m_dialogs.Log().size(), message.isEmpty() ? 0 : 1);
  if (!message.isEmpty()) QCOMPARE(m_dialogs.Of(QStringLiteral("message")).front().text, message);
  const QByteArray bytes = ReadAll(printer.outputFileName());
  QCOMPARE(bytes.startsWith("%PDF"), pages > 0);
  QCOMPARE(bytes.contains("/Subtype /Image"), pages > 0);
  QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), pages);
}

QTEST_MAIN(TestChart)
#include "test_chart.moc"
