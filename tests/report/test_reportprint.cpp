#include <QHash>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "pdftools.h"
#include "reportprint.h"
#include "reporttext.h"
#include "scripteddialogs.h"
#include "tablestate.h"

namespace {

QFont ScreenFont(const QString& face, bool bold, bool italic) {
  QFont font(face);
  font.setBold(bold);
  font.setItalic(italic);
  font.setPointSize(8);
  return font;
}

// Plain Courier New at the given size in the box, portrait.
ReportPrintSettings Courier(const QString& size) {
  return {ScreenFont(QStringLiteral("Courier New"), false, false), size,
          SheetOrientation::Portrait};
}

QString SampleReport() {
  TableState state;
  state.rows[0].SetFormula(u"2+3*4");
  state.rows[0].result = 14;
  state.rows[1].SetFormula(u"SQR(2)");
  state.rows[1].result = 1.4142135623731;
  state.roundingDigits = 2;
  return ComposeTableReport(state, QStringLiteral("Пример"), u'.');
}

}  // namespace

class TestReportPrint : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void printerFontSize_data();
  void printerFontSize();
  void pageInFontAndOrientation_data();
  void pageInFontAndOrientation();
  void widthWarning_data();
  void widthWarning();
  void widthOfLongLines_data();
  void widthOfLongLines();
  void longTextContinuesOnNextSheet();
  void unwritableFileIsReported();
  void absurdSizeIsRefused_data();
  void absurdSizeIsRefused();

 private:
  QTemporaryDir m_dir;
};

void TestReportPrint::initTestCase() {
  QVERIFY(m_dir.isValid());
  if (pdftools::Run(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}).isNull() &&
      QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
    QFAIL("pdfinfo (poppler-utils) is needed to read the printed pages back");
}

void TestReportPrint::printerFontSize_data() {
  QTest::addColumn<QString>("sizeText");
  QTest::addColumn<double>("points");
  QTest::newRow("whole") << QStringLiteral("12") << 12.0;
  QTest::newRow("half kept for the printer") << QStringLiteral("10.5") << 10.5;
  QTest::newRow("leading number of a longer text") << QStringLiteral("9 pt") << 9.0;
  QTest::newRow("zero") << QStringLiteral("0") << 8.0;
  QTest::newRow("negative") << QStringLiteral("-4") << 8.0;
  QTest::newRow("no number") << QStringLiteral("голям") << 8.0;
  QTest::newRow("empty") << QString() << 8.0;
  QTest::newRow("comma is no decimal point") << QStringLiteral("10,5") << 10.0;
  QTest::newRow("beyond a double") << QStringLiteral("1e999") << 8.0;
}

void TestReportPrint::printerFontSize() {
  QFETCH(QString, sizeText);
  QFETCH(double, points);
  QFont screen = ScreenFont(QStringLiteral("Courier New"), true, false);
  screen.setUnderline(true);
  screen.setStrikeOut(true);
  const QFont font = ReportPrinterFont({screen, sizeText, SheetOrientation::Portrait});
  QCOMPARE(font.pointSizeF(), points);
  QCOMPARE(font.family(), QStringLiteral("Courier New"));
  QVERIFY(font.bold());
  QVERIFY(!font.italic());
  QVERIFY(!font.underline());
  QVERIFY(!font.strikeOut());
}

void TestReportPrint::pageInFontAndOrientation_data() {
  QTest::addColumn<QString>("face");
  QTest::addColumn<bool>("bold");
  QTest::addColumn<bool>("italic");
  QTest::addColumn<bool>("landscape");
  QTest::addColumn<QString>("pdfFont");

  QTest::newRow("portrait regular") << QStringLiteral("Courier New") << false << false << false
                                    << QStringLiteral("LiberationMono");
  QTest::newRow("landscape bold") << QStringLiteral("Courier New") << true << false << true
                                  << QStringLiteral("LiberationMono-Bold");
  QTest::newRow("portrait bold italic") << QStringLiteral("Courier New") << true << true << false
                                        << QStringLiteral("LiberationMono-BoldItalic");
  QTest::newRow("landscape other face") << QStringLiteral("Times New Roman") << false << true
                                        << true << QStringLiteral("LiberationSerif-Italic");
}

void TestReportPrint::pageInFontAndOrientation() {
  QFETCH(QString, face);
  QFETCH(bool, bold);
  QFETCH(bool, italic);
  QFETCH(bool, landscape);
  QFETCH(QString, pdfFont);

  const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".pdf");
  const auto printer = pdftools::A4PdfPrinter(file);
  ScriptedDialogs dialogs;
  QVERIFY(PrintReportText(*printer, dialogs, SampleReport(),
                          {ScreenFont(face, bold, italic), QStringLiteral("8"),
                           landscape ? SheetOrientation::Landscape : SheetOrientation::Portrait}));
  QVERIFY2(dialogs.Log().isEmpty(), qPrintable(dialogs.Log().value(0).text));

  QCOMPARE(pdftools::PageCount(file), 1);
  const QSizeF page = pdftools::PageSize(file);
  QCOMPARE(page.width() > page.height(), landscape);
  QCOMPARE(pdftools::Fonts(file), QStringList{pdfFont});

  // Every line of the report, Cyrillic included, comes out in order.
  QCOMPARE(pdftools::Collapsed(pdftools::Text(file)), pdftools::Collapsed(SampleReport()));

  // A fixed-pitch face keeps the columns: the formulas start, the results end, together.
  const QList<pdftools::Word> words = pdftools::Words(file);
  QHash<QString, pdftools::Word> byText;
  for (const pdftools::Word& word : words) byText.insert(word.text, word);
  for (const char* text : {"2+3*4", "SQR(2)", "14.00", "1.41", "Наименование", "|No:|", "1", "2"})
    QVERIFY2(byText.contains(QString::fromUtf8(text)), text);
  QVERIFY(byText[QStringLiteral("SQR(2)")].top > byText[QStringLiteral("2+3*4")].top);
  if (pdfFont.startsWith(QStringLiteral("LiberationMono"))) {
    QCOMPARE(qRound(byText[QStringLiteral("2+3*4")].left * 10),
             qRound(byText[QStringLiteral("SQR(2)")].left * 10));
    QCOMPARE(qRound(byText[QStringLiteral("14.00")].right * 10),
             qRound(byText[QStringLiteral("1.41")].right * 10));
    // Two characters on from "|No:|" starts the heading, as in the text.
    const pdftools::Word& no = byText[QStringLiteral("|No:|")];
    const double pitch = (no.right - no.left) / 5;
    QCOMPARE(qRound((byText[QStringLiteral("Наименование")].left - no.right) / pitch), 2);
  }
}

// The page is measured against the widest line; a text exactly as wide prints unasked.
void TestReportPrint::widthWarning_data() {
  QTest::addColumn<int>("extra");    // characters beyond the widest line that still fits
  QTest::addColumn<bool>("answer");  // OK in the warning

  QTest::newRow("exactly the page width") << 0 << true;
  QTest::newRow("wider, OK prints anyway") << 3 << true;
  QTest::newRow("wider, Cancel prints nothing") << 3 << false;
}

void TestReportPrint::widthWarning() {
  QFETCH(int, extra);
  QFETCH(bool, answer);

  const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".pdf");
  const auto printer = pdftools::A4PdfPrinter(file);
  printer->setPageOrientation(QPageLayout::Portrait);
  const ReportPrintSettings settings = Courier(QStringLiteral("4"));
  const QFont font = ReportPrinterFont(settings);
  const int pageMm = ReportPageWidthMm(*printer);
  QVERIFY(pageMm > 150);

  // The longest line of 4-point characters whose width rounds to the page width.
  int fits = 1;
  while (ReportTextWidthMm(*printer, font, QString(fits + 1, u'Ж')) <= pageMm) ++fits;
  QCOMPARE(ReportTextWidthMm(*printer, font, QString(fits, u'Ж')), pageMm);
  const QString widest(fits + extra, u'Ж');
  const QString text = QStringLiteral("кратък ред\r\n") + widest + QStringLiteral("\r\nкрай\r\n");
  const int textMm = ReportTextWidthMm(*printer, font, text);

  ScriptedDialogs dialogs;
  if (extra > 0) dialogs.AnswerQuestion(answer);
  const bool printed = PrintReportText(*printer, dialogs, text, settings);

  QCOMPARE(dialogs.Pending(), 0);
  const auto questions = dialogs.Of(QStringLiteral("question"));
  QCOMPARE(questions.size(), extra > 0 ? 1 : 0);
  if (extra > 0) {
    QVERIFY(textMm > pageMm);
    QCOMPARE(questions[0].title, QStringLiteral("Фиш"));
    QCOMPARE(
        questions[0].text,
        QStringLiteral("Ширината на страницата (%1мм)\r\nе по-малка от ширината на текста. (%2мм)")
            .arg(pageMm)
            .arg(textMm));
  }
  QVERIFY(dialogs.Of(QStringLiteral("message")).isEmpty());
  QCOMPARE(printed, answer);
  QCOMPARE(QFile::exists(file), answer);
  if (answer) {
    // Lines are not wrapped: the wide line stays one line, on one page.
    QCOMPARE(pdftools::PageCount(file), 1);
    const QStringList lines = pdftools::Text(file).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines[0].trimmed(), QStringLiteral("кратък ред"));
    QVERIFY2(lines[1].trimmed().startsWith(QString(fits, u'Ж')), qPrintable(lines[1]));
    QCOMPARE(lines[2].trimmed(), QStringLiteral("край"));
  }
}

void TestReportPrint::longTextContinuesOnNextSheet() {
  const QString file = m_dir.filePath(QStringLiteral("long.pdf"));
  const auto printer = pdftools::A4PdfPrinter(file);
  QString text;
  const int count = 300;
  for (int i = 1; i <= count; ++i) text += QStringLiteral("ред %1\r\n").arg(i);
  ScriptedDialogs dialogs;
  QVERIFY(PrintReportText(*printer, dialogs, text, Courier(QStringLiteral("10"))));

  // Every line once, in order, each page going on where the one before stopped.
  int next = 1;
  QList<int> linesPerSheet;
  const int pages = pdftools::PageCount(file);
  for (int page = 1; page <= pages; ++page) {
    const QStringList lines = pdftools::Text(file, page, page).split(u'\n', Qt::SkipEmptyParts);
    linesPerSheet.append(0);
    for (const QString& line : lines) {
      if (line.trimmed().isEmpty() || line.startsWith(u'\f')) continue;
      QCOMPARE(line.trimmed(), QStringLiteral("ред %1").arg(next));
      ++next;
      ++linesPerSheet.back();
    }
  }
  QCOMPARE(next, count + 1);
  // The printable part of the A4 sheet, inside Qt's 10-point PDF margins, is 822 points high;
  // a 10-point line of Liberation Mono (the Courier New here) takes its ascent and descent,
  // 10 x (1705 + 615) / 2048 = 11.33 points, 11.35 as Qt rounds them: 72 lines a sheet.
  QCOMPARE(linesPerSheet, (QList<int>{72, 72, 72, 72, 12}));
}

void TestReportPrint::unwritableFileIsReported() {
  // A path under a regular file cannot be created, even by root.
  QFile blocker(m_dir.filePath(QStringLiteral("plain")));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const auto printer = pdftools::A4PdfPrinter(blocker.fileName() + QStringLiteral("/report.pdf"));
  ScriptedDialogs dialogs;
  QVERIFY(!PrintReportText(*printer, dialogs, SampleReport(), Courier(QStringLiteral("8"))));
  const auto messages = dialogs.Of(QStringLiteral("message"));
  QCOMPARE(messages.size(), 1);
  QCOMPARE(messages[0].text, QStringLiteral("75: Грешка при достъп до файла"));
}

void TestReportPrint::absurdSizeIsRefused_data() {
  QTest::addColumn<QString>("sizeText");
  QTest::addColumn<QString>("refusal");  // empty: printed

  const QString refused = QStringLiteral(
      "Размерът на шрифта (%1) е твърде голям за печат: най-много 2160 точки. Нищо не е "
      "отпечатано.");
  QTest::newRow("largest the screen takes") << QStringLiteral("2160") << QString();
  QTest::newRow("rounds to the largest") << QStringLiteral("2160.4") << QString();
  QTest::newRow("5000 points") << QStringLiteral("5000") << refused.arg("5000");
  QTest::newRow("1e5 points") << QStringLiteral(" 1e5") << refused.arg("1e5");
  QTest::newRow("1e7 points") << QStringLiteral("1e7") << refused.arg("1e7");
}

void TestReportPrint::absurdSizeIsRefused() {
  QFETCH(QString, sizeText);
  QFETCH(QString, refusal);
  const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".pdf");
  const auto printer = pdftools::A4PdfPrinter(file);
  ScriptedDialogs dialogs;
  if (refusal.isEmpty()) dialogs.AnswerQuestion(true);  // wider than the page: print anyway
  const bool printed = PrintReportText(*printer, dialogs, QStringLiteral("Ж"), Courier(sizeText));

  QCOMPARE(dialogs.Pending(), 0);
  QCOMPARE(printed, refusal.isEmpty());
  QCOMPARE(QFile::exists(file), refusal.isEmpty());
  const auto messages = dialogs.Of(QStringLiteral("message"));
  QCOMPARE(messages.size(), refusal.isEmpty() ? 0 : 1);
  if (!refusal.isEmpty()) {
    QCOMPARE(messages[0].text, refusal);
    QCOMPARE(messages[0].title, QStringLiteral("Фиш"));
  }
}

// Courier New is Liberation Mono here: 0.6 em a character, 96 twips at 8 points, so every
// 5 characters are 8 "мм" (hinting takes off a quarter per cent).
void TestReportPrint::widthOfLongLines_data() {
  QTest::addColumn<int>("characters");
  QTest::addColumn<qint64>("mm");
  QTest::newRow("a wide page") << 1000 << qint64(1600);
  QTest::newRow("a long line") << 100000 << qint64(160000);
  QTest::newRow("past Qt's fixed-point layout") << 5000000 << qint64(8000000);
  QTest::newRow("longest seen") << 8000000 << qint64(12800000);
}

void TestReportPrint::widthOfLongLines() {
  QFETCH(int, characters);
  QFETCH(qint64, mm);
  const auto printer = pdftools::A4PdfPrinter(m_dir.filePath(QStringLiteral("width.pdf")));
  const QFont font = ReportPrinterFont(Courier(QStringLiteral("8")));
  const QString text =
      QStringLiteral("ред\r\n") + QString(characters, u'Ж') + QStringLiteral("\r\n");
  const qint64 measured = ReportTextWidthMm(*printer, font, text);
  QVERIFY2(std::llabs(measured - mm) <= mm / 200, qPrintable(QString::number(measured)));
}

QTEST_MAIN(TestReportPrint)
#include "test_reportprint.moc"
