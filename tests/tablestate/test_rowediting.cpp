#include <QTest>

#include "rowediting.h"
#include "tablestate.h"

class TestRowEditing : public QObject {
  Q_OBJECT
 private slots:
  void insertAtCaret_data();
  void insertAtCaret();
  void roundingDigits_data();
  void roundingDigits();
  void errorIndex_data();
  void errorIndex();
  void wrapForMessage_data();
  void wrapForMessage();
  void shiftRecords_data();
  void shiftRecords();
  void errorReason_data();
  void errorReason();
};

void TestRowEditing::insertAtCaret_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("expectedCaret");
  const auto Row = [](const char* name, const QString& box, int caret, const QString& text,
                      const QString& expected, int expectedCaret) {
    QTest::newRow(name) << box << caret << text << expected << expectedCaret;
  };
  Row("empty-row", "", 0, "SIN()", "SIN()", 4);
  Row("after-number", "12", 2, "SIN()", "12+SIN()", 7);
  Row("after-operator", "2*", 2, "COS()", "2*COS()", 6);
  Row("pi-after-operator", "2*", 2, "PI", "2*PI", 4);
  Row("pi-never-plus", "12", 2, "PI", "12PI", 4);
  Row("pi-with-blanks", "12", 2, " PI ", "12 PI ", 6);
  Row("start-first-char-decides", "5", 0, "SIN()", "+SIN()5", 5);
  Row("start-before-operator", "-5", 0, "SIN()", "SIN()-5", 4);
  Row("after-comma", "[1<2,", 5, "LN()", "[1<2,LN()", 8);
  Row("after-square-bracket", "[", 1, "LN()", "[LN()", 4);
  Row("after-backslash", "7\\", 2, "LN()", "7\\LN()", 5);
  Row("after-closing-paren", "(1)", 3, "LN()", "(1)+LN()", 7);
  Row("middle-keeps-rest", "1+2", 2, "SUM()", "1+SUM()2", 6);
  // The deciding character is read from the trimmed text at the caret's position, so leading
  // blanks shift it.
  Row("leading-blanks-shift", "  12", 4, "SIN()", "  12SIN()", 8);
  Row("caret-past-end-clamped", "12", 9, "SIN()", "12+SIN()", 7);
  Row("empty-text", "12", 1, "", "12", 0);

  const QString rest(200, u'7');
  Row("long-rest-kept", "(" + rest, 1, "LN()", "(LN()" + rest, 4);
}

void TestRowEditing::insertAtCaret() {
  QFETCH(QString, box);
  QFETCH(int, caret);
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QFETCH(int, expectedCaret);
  const CaretInsertion result = InsertAtCaretText(box, caret, text);
  QCOMPARE(result.text, expected);
  QCOMPARE(result.caret, expectedCaret);
  QCOMPARE(result.changed, !text.isEmpty());
}

void TestRowEditing::roundingDigits_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("digits");

  QTest::newRow("default") << "4" << 4;
  QTest::newRow("letters") << "abc" << 0;
  QTest::newRow("minus-three") << "-3" << 3;
  QTest::newRow("seven-point-nine") << "7.9" << 7;
  QTest::newRow("twenty") << "20" << 15;
  QTest::newRow("fifteen") << "15" << 15;
  QTest::newRow("blank") << "" << 0;
  QTest::newRow("blanks-inside") << " 1 2 " << 12;
  QTest::newRow("tab-and-line-feed") << "1\t\n0" << 10;
  QTest::newRow("stops-at-letter") << "5x9" << 5;
  QTest::newRow("comma-is-no-point") << "3,9" << 3;
  QTest::newRow("leading-point") << ".9" << 0;
  QTest::newRow("sign-alone") << "-" << 0;
  QTest::newRow("point-alone") << "." << 0;
  QTest::newRow("exponent") << "1e1" << 10;
  QTest::newRow("exponent-fraction") << "1.2E1" << 12;
  QTest::newRow("negative-exponent") << "90e-1" << 9;
  QTest::newRow("exponent-without-digits") << "2e" << 2;
  QTest::newRow("huge") << "99999999999999999999999999" << 15;
  QTest::newRow("exponent-overflow") << "1e999" << 15;
  QTest::newRow("tiny-exponent") << "1e-999" << 0;
  QTest::newRow("tiny-by-zeros") << "0." + QString(400, u'0') + "1" << 0;
}

void TestRowEditing::roundingDigits() {
  QFETCH(QString, text);
  QFETCH(int, digits);
  QCOMPARE(ReadRoundingDigits(text), digits);
}

void TestRowEditing::errorIndex_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<int>("errorPos");
  QTest::addColumn<int>("index");

  QTest::newRow("plain") << "2+3)" << 4 << 3;
  QTest::newRow("leading-blanks") << "   2+3)" << 4 << 6;
  QTest::newRow("leading-point") << ".5)" << 4 << 2;
  QTest::newRow("blanks-and-point") << "  .5)" << 4 << 4;
  QTest::newRow("at-the-added-zero") << ".x" << 1 << 0;
  QTest::newRow("second-equals") << "=2)" << 3 << 2;
  QTest::newRow("past-the-end") << "(2" << 3 << 2;
  QTest::newRow("first-char") << "abc" << 1 << 0;
}

void TestRowEditing::errorIndex() {
  QFETCH(QString, box);
  QFETCH(int, errorPos);
  QFETCH(int, index);
  QCOMPARE(ErrorIndexInBox(box, errorPos), index);
}

namespace {

// Records 0..26 hold "f0".."f26" with results 0..26 and their own labels.
TableState Numbered() {
  TableState state;
  for (int k = 0; k < kRecordCount; ++k) {
    state.rows[k].SetFormula(QStringLiteral("f%1").arg(k));
    state.rows[k].result = k;
    state.rows[k].label = QStringLiteral("L%1").arg(k);
  }
  return state;
}

}  // namespace

void TestRowEditing::shiftRecords_data() {
  QTest::addColumn<bool>("insert");
  QTest::addColumn<int>("row");
  for (int row : {0, 12, 24}) {
    QTest::addRow("delete-%d", row) << false << row;
    QTest::addRow("insert-%d", row) << true << row;
  }
  QTest::newRow("delete-no-row") << false << -1;
  QTest::newRow("insert-no-row") << true << -1;
}

void TestRowEditing::shiftRecords() {
  QFETCH(bool, insert);
  QFETCH(int, row);
  TableState state = Numbered();
  insert ? InsertRecord(state, row) : DeleteRecord(state, row);

  const QString blank(kFormulaWidth, u' ');
  for (int k = 0; k < kRecordCount; ++k) {
    // Which old record is now at k; -1 for an emptied one.
    int from = k;
    if (row >= 0 && k >= row && k <= kHiddenRecord) {
      if (insert)
        from = k == row ? -1 : k - 1;
      else
        from = k == kHiddenRecord ? -1 : k + 1;
    }
    const QByteArray where = QByteArray::number(k);
    QCOMPARE(state.rows[k].label, QStringLiteral("L%1").arg(k));
    if (from < 0) {
      QVERIFY2(state.rows[k].formula == blank, where);
      QCOMPARE(state.rows[k].result, 0.0);
    } else {
      QVERIFY2(state.rows[k].Trimmed() == QStringLiteral("f%1").arg(from), where);
      QCOMPARE(state.rows[k].result, double(from));
    }
  }
}

void TestRowEditing::wrapForMessage_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("shown");

  QTest::newRow("short-unchanged") << "2+3)" << 8 << "2+3)";
  QTest::newRow("exactly-one-line") << "12345678" << 8 << "12345678";
  QTest::newRow("after-operator") << "1234+6789+12" << 8 << "1234+\n6789+12";
  QTest::newRow("last-break-in-line") << "1+2+3+4+5+6" << 8 << "1+2+3+4+\n5+6";
  QTest::newRow("after-comma-and-bracket") << "[1<2,345,6]789" << 8 << "[1<2,\n345,6]\n789";
  QTest::newRow("digits-only-hard") << "12345678901234567" << 8 << "12345678\n90123456\n7";
  QTest::newRow("break-too-early-ignored") << "1+345678901" << 8 << "1+345678\n901";
  QTest::newRow("blank-stays-at-line-end") << "SIN(30) * COS(60)" << 10 << "SIN(30) * \nCOS(60)";
  QTest::newRow("surrogates-kept-whole")
      << QStringLiteral("1234567\U0001D70B9") << 8 << QStringLiteral("1234567\n\U0001D70B9");
  // A whole formula field: every character, the last one at the error too, is shown.
  QTest::newRow("full-field") << QString(250, u'1') + "+2)" << 64
                              << QString(64, u'1') + u'\n' + QString(64, u'1') + u'\n' +
                                     QString(64, u'1') + u'\n' + QString(58, u'1') + "+2)";
}

void TestRowEditing::wrapForMessage() {
  QFETCH(QString, formula);
  QFETCH(int, length);
  QFETCH(QString, shown);
  QCOMPARE(WrapFormulaForMessage(formula, length), shown);
}

void TestRowEditing::errorReason_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<QString>("reason");
  QTest::newRow("decimal-comma") << "12,5*2"
                                 << QStringLiteral("Десетичният знак във формулите е точка: 12.5");
  QTest::newRow("lower-case")
      << "sin(30)"
      << QStringLiteral("Непозната функция „sin“; имената се пишат с главни букви: SIN");
  QTest::newRow("unknown") << "xyz(1)" << QStringLiteral("Непозната функция „xyz“");
  QTest::newRow("missing-paren") << "SIN(30" << QStringLiteral("Липсва затваряща скоба „)“");
  QTest::newRow("other-error") << "2+3)" << QString();
  QTest::newRow("no-error") << "2+3" << QString();
}

void TestRowEditing::errorReason() {
  QFETCH(QString, formula);
  QFETCH(QString, reason);
  QCOMPARE(ErrorReasonText(formula), reason);
}

QTEST_GUILESS_MAIN(TestRowEditing)
#include "test_rowediting.moc"
