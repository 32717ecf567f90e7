#include <QImage>
#include <QLabel>
#include <QTest>

#include "calculatorfixture.h"

// The table's cell borders as they reach the screen. The test runs once per screen scale
// (QT_SCALE_FACTOR, see CMakeLists.txt); at fractional scales the style's one-pixel frame
// used to fall outside the cell.
class TestCellFrame : public QObject {
  Q_OBJECT
 private slots:
  void bordersWhole_data();
  void bordersWhole();
};

void TestCellFrame::bordersWhole_data() {
  QTest::addColumn<QString>("cell");
  QTest::addColumn<bool>("outerRight");  // else its outer side is the left; the other side
                                         // lies under the formula column
  QTest::newRow("number-first") << "lblNo_0" << false;
  QTest::newRow("number-last") << "lblNo_24" << false;
  QTest::newRow("result-first") << "lblSuma_0" << true;
  QTest::newRow("result-middle") << "lblSuma_12" << true;
  QTest::newRow("result-last") << "lblSuma_24" << true;
  QTest::newRow("header-result") << "Label5" << true;
  QTest::newRow("header-number") << "Label1" << false;
}

void TestCellFrame::bordersWhole() {
  QFETCH(QString, cell);
  QFETCH(bool, outerRight);
  CalculatorFixture f;
  auto* label = f.window.findChild<QLabel*>(cell);
  QVERIFY(label);
  const QImage shot = f.window.grab().toImage();
  const qreal ratio = shot.devicePixelRatio();
  // The cell in device pixels; an edge between two device pixels may fall to either.
  const QRectF logical(label->mapTo(&f.window, QPoint(0, 0)), label->size());
  const QRect inside(
      QPoint(std::ceil(logical.left() * ratio), std::ceil(logical.top() * ratio)),
      QPoint(std::floor(logical.right() * ratio), std::floor(logical.bottom() * ratio)));
  const int midY = inside.center().y();
  const int midX = inside.center().x();
  // Each border is dark on one of the two device pixels at that edge.
  auto dark = [&](int x, int y) { return qGray(shot.pixel(x, y)) < 64; };
  if (outerRight)
    QVERIFY2(dark(inside.right(), midY) || dark(inside.right() - 1, midY), "right");
  else
    QVERIFY2(dark(inside.left(), midY) || dark(inside.left() + 1, midY), "left");
  QVERIFY2(dark(midX, inside.top()) || dark(midX, inside.top() + 1), "top");
  // The cell's inside is its own colour, not a border.
  QVERIFY(!dark(outerRight ? inside.right() - 3 : inside.left() + 3, midY));
}

QTEST_MAIN(TestCellFrame)
#include "test_cellframe.moc"
