#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include "calculatorfixture.h"
#include "cellframe.h"

// The table's cell and formula box borders as they reach the screen. The test runs once per screen
// scale (QT_SCALE_FACTOR, see CMakeLists.txt); at fractional scales the style's one-pixel frame
// used to fall outside the cell.
class TestCellFrame : public QObject {
  Q_OBJECT
 private slots:
  void bordersWhole_data();
  void bordersWhole();
  void markOnEmptyCell_data();
  void markOnEmptyCell();
  void iconsAtScale_data();
  void iconsAtScale();
  void bevelAsStyleDraws_data();
  void bevelAsStyleDraws();
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
  // The formula boxes have the same flat border; the style's shaded frame is grey.
  QTest::newRow("formula-middle") << "Formula_12" << false;
  QTest::newRow("formula-last") << "Formula_24" << false;
}

void TestCellFrame::bordersWhole() {
  QFETCH(QString, cell);
  QFETCH(bool, outerRight);
  CalculatorFixture f;
  auto* label = f.window.findChild<QWidget*>(cell);
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

void TestCellFrame::markOnEmptyCell_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QColor>("mark");
  QTest::addColumn<bool>("framed");
  // A result of exactly 0 shows no text, so only the inner frame can carry its mark.
  QTest::newRow("empty-marked") << "" << QColor(190, 80, 0) << true;
  QTest::newRow("empty-unmarked") << "" << QColor() << false;
  QTest::newRow("text-marked") << "6,0000 " << QColor(0, 0, 160) << false;
}

void TestCellFrame::markOnEmptyCell() {
  QFETCH(QString, text);
  QFETCH(QColor, mark);
  QFETCH(bool, framed);
  CellLabel cell;
  cell.resize(160, 19);
  cell.setAutoFillBackground(true);
  cell.setText(text);
  cell.SetMarkColour(mark);
  const QImage shot = cell.grab().toImage();
  const qreal ratio = shot.devicePixelRatio();
  // The middle of the frame's left side, three whole device pixels per logical one in from
  // the edge, where no right-aligned text reaches.
  const int x = 3 * int(std::max(1.0, std::floor(ratio)));
  const QColor seen = shot.pixelColor(x, shot.height() / 2);
  QCOMPARE(seen == QColor(190, 80, 0), framed);
}

void TestCellFrame::iconsAtScale_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("cell");  // in the SVG sheet of ten, from the left
  QTest::newRow("function") << "cmdSqr" << 0;
  QTest::newRow("first-command") << "cmdReadFile" << 1;
  QTest::newRow("last-command") << "cmdHelp" << 9;
}

// Our own drawing, made for the screen's scale rather than enlarged, and never empty.
void TestCellFrame::iconsAtScale() {
  QFETCH(QString, button);
  QFETCH(int, cell);
  CalculatorFixture f;
  auto* shown = f.window.findChild<QPushButton*>(button);
  QVERIFY(shown);
  const qreal ratio = shown->devicePixelRatioF();
  const QImage drawn = shown->icon().pixmap(QSize(16, 16), ratio).toImage();
  QCOMPARE(drawn.size(), QSize(16, 16) * std::ceil(ratio * 16) / 16);
  int opaque = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) opaque += qAlpha(drawn.pixel(x, y)) > 128;
  QVERIFY2(opaque >= drawn.width() * 2, qPrintable(QString::number(opaque)));
  // The very pixels the SVG image reader draws at this scale, whether the sheet was drawn when
  // the program was built or is drawn at run time.
  const int side = drawn.width();
  QImageReader reader(QStringLiteral(":/icons/buttons.svg"));
  reader.setScaledSize(QSize(10 * side, side));
  QImage expected = reader.read().copy(cell * side, 0, side, side);
  expected.setDevicePixelRatio(drawn.devicePixelRatio());
  QCOMPARE(drawn.convertToFormat(expected.format()), expected);
}

void TestCellFrame::bevelAsStyleDraws_data() {
  QTest::addColumn<int>("state");
  QTest::addColumn<int>("features");
  using S = QStyle;
  const int on = S::State_Enabled | S::State_Active;
  QTest::newRow("plain") << on << 0;
  QTest::newRow("pressed") << (on | S::State_Sunken) << 0;
  QTest::newRow("hover") << (on | S::State_MouseOver) << 0;
  QTest::newRow("keyboard-focus") << (on | S::State_HasFocus | S::State_KeyboardFocusChange) << 0;
  QTest::newRow("disabled") << int(S::State_Active) << 0;
  QTest::newRow("default") << on << int(QStyleOptionButton::DefaultButton);
}

// The window's buttons copy a bevel drawn once; the copy must be what the style itself draws,
// for every state, and a bevel of other colours must never be served instead.
void TestCellFrame::bevelAsStyleDraws() {
  QFETCH(int, state);
  QFETCH(int, features);
  const qreal ratio = qApp->devicePixelRatio();
  auto draw = [&](const QStyle& style, const QColor& colour) {
    QStyleOptionButton option;
    option.rect = QRect(3, 2, 41, 17);
    option.state = QStyle::State(state);
    option.features = QStyleOptionButton::ButtonFeatures(features);
    option.palette = QPalette(colour);
    QImage image(QSize(48, 21) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    style.drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter);
    return image;
  };
  const std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
  TableStyle copied(nullptr);
  const QColor cyan(0, 192, 192);
  draw(copied, QColor(224, 96, 0));  // the same button in other colours, drawn first
  const QImage expected = draw(*plain, cyan);
  QCOMPARE(draw(copied, cyan), expected);  // drawn anew
  QCOMPARE(draw(copied, cyan), expected);  // copied
}

QTEST_MAIN(TestCellFrame)
#include "test_cellframe.moc"
