#include <QIODevice>
#include <QTest>

#include "clipboardtext.h"
#include "formulafile.h"
#include "rowediting.h"

Q_DECLARE_METATYPE(TableState)

namespace {

QByteArray Field(const QByteArray& text) {
  return '"' + text + "\"\r\n";
}

const QByteArray kNuls(kFormulaWidth, '\0');

// The example table of the help text: four formulas, then 22 further records.
TableState ExampleTable(bool clearedRest) {
  TableState state;
  const QStringList formulas = {"25+65", "67+13", "SUM(1)+SUM(2)+278",
                                "[SUM(1)>SUM(2),SUM(1),SUM(2)]"};
  for (int k = 0; k < kFileRecords; ++k) {
    RowRecord& row = state.rows[static_cast<size_t>(k)];
    if (k < formulas.size())
      row.SetFormula(formulas[k]);
    else if (!clearedRest)
      row.Empty();
  }
  return state;
}

// A source that never ends, as a pipe or a device named like a formula file would be.
class EndlessDevice final : public QIODevice {
 public:
  explicit EndlessDevice(char fill) : m_fill(fill) { open(QIODevice::ReadOnly); }
  bool isSequential() const override { return true; }
  qint64 read_count = 0;

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    std::fill(data, data + maxSize, m_fill);
    read_count += maxSize;
    return maxSize;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  char m_fill;
};

}  // namespace

class TestFormulaFile : public QObject {
  Q_OBJECT
 private slots:
  void explanationRule_data();
  void explanationRule();
  void encode_data();
  void encode();
  void encodeReportsLostCharacters();
  void decode_data();
  void decode();
  void decodeStopsOnEndlessInput_data();
  void decodeStopsOnEndlessInput();
  void applyKeepsClearedAndEmptiedApart();
  void roundTripRestoresEveryRecord();
  void lineBreakNeverReachesTheFile_data();
  void lineBreakNeverReachesTheFile();
};

void TestFormulaFile::explanationRule_data() {
  QTest::addColumn<QString>("explanation");
  QTest::addColumn<QString>("saved");
  QTest::newRow("empty") << QString() << QStringLiteral(" ");
  QTest::newRow("tab-first") << QStringLiteral("\tСметка") << QStringLiteral(" ");
  QTest::newRow("unit-separator-first") << QString(QChar(31)) + "x" << QStringLiteral(" ");
  QTest::newRow("nul-first") << QString(QChar(0)) + "x" << QStringLiteral(" ");
  QTest::newRow("blank-first-kept") << QStringLiteral(" x") << QStringLiteral(" x");
  QTest::newRow("text-kept") << QStringLiteral("Сметка") << QStringLiteral("Сметка");
  QTest::newRow("controls-inside")
      << QStringLiteral("Ток\r\nмарт\t2") << QStringLiteral("Ток март 2");
}

void TestFormulaFile::explanationRule() {
  QFETCH(QString, explanation);
  QFETCH(QString, saved);
  QCOMPARE(ExplanationForFile(explanation), saved);
}

void TestFormulaFile::encode_data() {
  QTest::addColumn<TableState>("state");
  QTest::addColumn<QByteArray>("bytes");

  const QByteArray exampleHead =
      "\" \"\r\n\"25+65\"\r\n\"67+13\"\r\n\"SUM(1)+SUM(2)+278\"\r\n"
      "\"[SUM(1)>SUM(2),SUM(1),SUM(2)]\"\r\n";
  TableState emptied = ExampleTable(false);
  emptied.explanation = " ";
  QTest::newRow("example-emptied-rows")
      << emptied << exampleHead + QByteArray("\"\"\r\n").repeated(22);
  TableState cleared = ExampleTable(true);
  cleared.explanation = " ";
  QTest::newRow("example-cleared-rows") << cleared << exampleHead + Field(kNuls).repeated(22);

  TableState cyrillic;
  cyrillic.explanation = QStringLiteral("Сметка за ток");
  cyrillic.rows[0].SetFormula(QStringLiteral("  2 * 3  "));
  cyrillic.rows[25].SetFormula(QStringLiteral("SUM(1)"));
  QTest::newRow("cyrillic-trimmed-hidden-row")
      << cyrillic
      << Field("\xD1\xEC\xE5\xF2\xEA\xE0 \xE7\xE0 \xF2\xEE\xEA") + Field("2 * 3") +
             Field(kNuls).repeated(24) + Field("SUM(1)");

  TableState full;
  full.explanation = QStringLiteral("x");
  const QString longFormula = QString(QStringLiteral("1+")).repeated(127) + u'1';
  full.rows[0].SetFormula(longFormula);
  full.rows[1].SetFormula(QStringLiteral("a\"b,c"));
  QTest::newRow("255-characters-quote-comma")
      << full
      << Field("x") + Field(longFormula.toLatin1()) + Field("a\"b,c") + Field(kNuls).repeated(24);
}

void TestFormulaFile::encode() {
  QFETCH(TableState, state);
  QFETCH(QByteArray, bytes);
  const EncodedFormulaFile file = EncodeFormulaFile(state);
  QCOMPARE(file.bytes, bytes);
  QVERIFY(!file.explanationLost);
  QVERIFY(file.lostRecords.isEmpty());
}

void TestFormulaFile::encodeReportsLostCharacters() {
  TableState state;
  state.explanation = QStringLiteral("π ≈ 3");
  state.rows[2].SetFormula(QStringLiteral("2≈2"));
  state.rows[25].SetFormula(QString::fromUtf8("1+\xF0\x9F\x98\x80"));  // outside the BMP
  state.rows[4].SetFormula(QStringLiteral("Ъ№€"));                     // all in the code page
  const EncodedFormulaFile file = EncodeFormulaFile(state);
  QVERIFY(file.explanationLost);
  QCOMPARE(file.lostRecords, QList<int>({2, 25}));
  QVERIFY(file.bytes.startsWith(Field("? ? 3")));
  QVERIFY(file.bytes.contains(Field("2?2")));
  QVERIFY(file.bytes.contains(Field("\xDA\xB9\x88")));
  QVERIFY(file.bytes.endsWith(Field("1+?")));
}

void TestFormulaFile::decode_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("hasExplanation");
  QTest::addColumn<QString>("explanation");
  QTest::addColumn<QStringList>("formulas");

  const QString nul3(3, QChar(0));
  QTest::newRow("empty-file") << QByteArray() << false << QString() << QStringList();
  QTest::newRow("only-explanation")
      << Field("\xC7\xE0\xE3\xEB\xE0\xE2\xE8\xE5") << true << "Заглавие" << QStringList();
  QTest::newRow("unquoted-fields")
      << QByteArray("  abc  \r\n\t1+2 , 3\r\n") << true << "abc" << QStringList{"1+2", "3"};
  QTest::newRow("nul-field") << Field(" ") + Field(QByteArray(3, '\0')) << true << " "
                             << QStringList{nul3};
  QTest::newRow("no-final-line-end")
      << QByteArray("\"x\"\r\n\"1+2\"") << true << "x" << QStringList{"1+2"};
  QTest::newRow("lf-line-ends") << QByteArray("\"x\"\n\"1\"\n\"2\"\n") << true << "x"
                                << QStringList{"1", "2"};
  QTest::newRow("cr-line-ends") << QByteArray("\"x\"\r\"1\"\r") << true << "x" << QStringList{"1"};
  QTest::newRow("quote-inside-formula")
      << QByteArray("\"x\"\r\n\"a\"b\"\r\n\"c\"\r\n") << true << "x" << QStringList{"a\"b", "c"};
  QTest::newRow("text-after-last-quote-skipped")
      << QByteArray("\"x\" junk,\"b\"  tail\r\n\"c\"\r\n") << true << "x\" junk,\"b"
      << QStringList{"c"};
  QTest::newRow("empty-line") << QByteArray("\"x\"\r\n\r\n\"b\"\r\n") << true << "x"
                              << QStringList{"", "b"};
  QTest::newRow("quote-runs-over-line-end")
      << QByteArray("\"x\"\r\n\"ab\r\ncd\"\r\n") << true << "x" << QStringList{"ab\r\ncd"};
  QTest::newRow("invalid-and-high-bytes")
      << QByteArray("\"\x98\"\r\n\"\xC0\xFF\x00z\"\r\n", 13) << true << QString(QChar(0x98))
      << QStringList{QStringLiteral("Ая") + QChar(0) + u'z'};
  QTest::newRow("long-field-cut") << Field("e") + Field(QByteArray(300, '7')) + Field("8") << true
                                  << "e" << QStringList{QString(255, u'7'), "8"};
  QTest::newRow("long-unquoted-field-cut")
      << QByteArray("e\r\n") + QByteArray(300, '7') + "   \r\n9\r\n"
      << true << "e" << QStringList{QString(255, u'7'), "9"};

  QStringList twentySix;
  QByteArray thirty = Field("t");
  for (int k = 0; k < 30; ++k) {
    thirty += Field(QByteArray::number(k));
    if (k < kFileRecords) twentySix.append(QString::number(k));
  }
  QTest::newRow("stops-after-27-lines") << thirty << true << "t" << twentySix;
  QTest::newRow("long-explanation-cut") << Field(QByteArray(70000, 'E')) + Field("1") << true
                                        << QString(kMaxExplanationLength, u'E') << QStringList{"1"};
}

void TestFormulaFile::decode() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, hasExplanation);
  QFETCH(QString, explanation);
  QFETCH(QStringList, formulas);
  const DecodedFormulaFile file = DecodeFormulaFile(bytes);
  QCOMPARE(file.explanation.has_value(), hasExplanation);
  if (hasExplanation) QCOMPARE(*file.explanation, explanation);
  QCOMPARE(file.formulas, formulas);
}

void TestFormulaFile::decodeStopsOnEndlessInput_data() {
  QTest::addColumn<char>("fill");
  QTest::newRow("open-quote") << '"';
  QTest::newRow("letters") << 'a';
  QTest::newRow("line-ends") << '\n';
}

void TestFormulaFile::decodeStopsOnEndlessInput() {
  QFETCH(char, fill);
  EndlessDevice device(fill);
  const DecodedFormulaFile file = DecodeFormulaFile(device);
  QVERIFY(file.explanation.has_value());
  QVERIFY(file.explanation->size() <= kMaxExplanationLength);
  QVERIFY(file.formulas.size() <= kFileRecords);
  QVERIFY(device.read_count <= kMaxScannedBytes + 64 * 1024);
}

void TestFormulaFile::applyKeepsClearedAndEmptiedApart() {
  TableState state;
  state.explanation = QStringLiteral("keep");
  for (RowRecord& row : state.rows) {
    row.SetFormula(QStringLiteral("old"));
    row.result = 7;
  }
  DecodedFormulaFile file;
  file.formulas = {QStringLiteral("1+1"), QString(), QString(3, QChar(0)),
                   QString(5, QChar(0)) + u' ', QString(u' ') + QChar(0) + u'a'};
  ApplyFormulaFile(file, state);

  QCOMPARE(state.explanation, QStringLiteral("keep"));
  QCOMPARE(state.rows[0].Trimmed(), QStringLiteral("1+1"));
  QCOMPARE(state.rows[1].formula, QString(kFormulaWidth, u' '));
  QCOMPARE(state.rows[2].formula, QString(kFormulaWidth, QChar(0)));
  QCOMPARE(state.rows[3].formula, QString(kFormulaWidth, QChar(0)));
  QCOMPARE(state.rows[4].Trimmed(), QStringLiteral("a"));  // a NUL among text is a blank
  for (int k = 5; k < kRecordCount; ++k) QVERIFY(state.rows[static_cast<size_t>(k)].IsCleared());
  for (const RowRecord& row : state.rows) QCOMPARE(row.result, 0.0);
}

void TestFormulaFile::roundTripRestoresEveryRecord() {
  TableState state;
  state.explanation = QStringLiteral("Курсов проект, вариант 2");
  const QString longFormula =
      QString(QStringLiteral("SUM(1)+")).repeated(36) + QStringLiteral("123");
  QCOMPARE(longFormula.size(), kFormulaWidth);
  state.rows[0].SetFormula(longFormula);
  state.rows[1].SetFormula(QStringLiteral("[SUM(1)>2,1,2]"));
  state.rows[2].Empty();
  state.rows[3].SetFormula(QStringLiteral("  a  b  "));
  state.rows[24].SetFormula(QStringLiteral("DAY(31.12.1999)"));
  state.rows[25].SetFormula(QStringLiteral("SUM(25)*2"));

  const QByteArray bytes = EncodeFormulaFile(state).bytes;
  TableState back;
  ApplyFormulaFile(DecodeFormulaFile(bytes), back);
  QCOMPARE(back.explanation, state.explanation);
  for (int k = 0; k < kFileRecords; ++k)
    QCOMPARE(back.rows[static_cast<size_t>(k)].Trimmed(),
             state.rows[static_cast<size_t>(k)].Trimmed());
  QVERIFY(back.rows[4].IsCleared());
  QCOMPARE(back.rows[2].formula, QString(kFormulaWidth, u' '));
  QCOMPARE(EncodeFormulaFile(back).bytes, bytes);
}

// A line break given to row 2 by each road into a row, or a quote followed by a comma: the
// saved file keeps its 27 lines and reads back with the same rows, the row after it in its
// place.
void TestFormulaFile::lineBreakNeverReachesTheFile_data() {
  QTest::addColumn<QString>("road");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("stored");
  const QString column = "120,50\n80.25\r\n1 250,75";
  const auto Row = [](const char* road, const QString& input, const char* stored) {
    QTest::newRow(road) << QString(road).section(u'-', 0, 0) << input << QString(stored);
  };
  Row("enter-column", column, "120,50 80.25 1 250,75");  // --eval enters its rows so too
  Row("button-line-end", "5\n", "5 +SIN()");
  Row("paste-cells", "Наем\tмарт\u0001", "Наем март");
  Row("store-nul", QStringLiteral("1\t+") + QChar(0) + u'2', "1 + 2");
  Row("file-damaged", column, "120,50 80.25 1 250,75");
  Row("enter-quote-comma", "2*3 'цена \"А\", нова", "2*3 'цена \"А\", нова");
  Row("file-quote-comma", "[1>2,\"a\",3] 'b\",", "[1>2,\"a\",3] 'b\",");
}

void TestFormulaFile::lineBreakNeverReachesTheFile() {
  QFETCH(QString, road);
  QFETCH(QString, input);
  QFETCH(QString, stored);
  // A damaged file is one saved by a version that kept the line ends inside the quotes.
  const QByteArray field = road == u"file" ? input.toLatin1() : QByteArray();
  TableState state;
  ApplyFormulaFile(DecodeFormulaFile(Field("t") + Field("1") + Field(field) + Field("7") +
                                     Field("").repeated(23)),
                   state);
  mdlCalcFunction evaluator;
  if (road == u"enter") EnterFormula(state, 1, input, evaluator);
  if (road == u"button")
    state.rows[1].SetFormula(InsertAtCaretText(input, int(input.size()), "SIN()").text);
  if (road == u"paste") EnterFormula(state, 1, PastedLineFormula(input, QLocale::c()), evaluator);
  if (road == u"store") state.rows[1].SetFormula(input);

  const QByteArray bytes = EncodeFormulaFile(state).bytes;
  QCOMPARE(bytes.count("\r\n"), 27);
  QCOMPARE(bytes.count('\r') + bytes.count('\n'), 54);
  TableState back;
  ApplyFormulaFile(DecodeFormulaFile(bytes), back);
  const QStringList rows = {"1", stored, "7", ""};
  for (int k = 0; k < 4; ++k) QCOMPARE(back.rows[k].DisplayText(), rows[k]);
}

QTEST_GUILESS_MAIN(TestFormulaFile)
#include "test_formulafile.moc"
