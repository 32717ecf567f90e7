#include "diagram.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

#include "dialogs.h"
#include "errormessage.h"
#include "printtarget.h"
#include "tablestate.h"
#include "twips.h"
#include "widgetstyle.h"

namespace {

constexpr int kPrintScale = 3;  // picture resolution for the printer, times the screen's

}  // namespace

Diagram::Diagram(const TableState& state, Dialogs& dialogs, PrintTarget& target, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_dialogs(dialogs),
      m_target(target),
      m_data(ChartSnapshot(state)),
      m_view(new QChartView(this)),
      m_print(new QPushButton(QStringLiteral("Печат"), this)),
      m_exit(new QPushButton(QStringLiteral("Изход"), this)) {
  setWindowTitle(QStringLiteral("Form1"));
  setFont(DesignFont(QStringLiteral("Courier New"), 9));
  setFixedSize(TwipsSize(11355, 7455));

  m_view->setGeometry(TwipsRect(330, 270, 10665, 6885));
  m_view->setRenderHint(QPainter::Antialiasing);
  m_view->setFrameShape(QFrame::NoFrame);
  BuildChart();

  const QFont buttonFont = DesignFont(QStringLiteral("Courier New"), 9.75, true);
  m_print->setGeometry(TwipsRect(8910, 330, 945, 345));
  m_exit->setGeometry(TwipsRect(9900, 330, 945, 345));
  for (QPushButton* button : {m_print, m_exit}) {
    button->setFont(buttonFont);
    button->setAutoDefault(false);
    button->raise();  // over the chart's upper right corner
  }
  connect(m_print, &QPushButton::clicked, this, [this] { Print(); });
  connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
}

Diagram::~Diagram() = default;

QChart* Diagram::Chart() const {
  return m_view->chart();
}

void Diagram::BuildChart() {
  auto* chart = new QChart;
  chart->setTitle(ChartTitleLine(m_data.title));
  chart->setTitleFont(DesignFont(QStringLiteral("Courier New"), 12));
  chart->legend()->setVisible(false);

  auto* set = new QBarSet(QString());
  set->setColor(QColor(0, 0, 160));
  QStringList categories;
  for (int i = 0; i < kChartPoints; ++i) {
    set->append(m_data.values[i]);
    categories.append(QString::number(i + 1));
  }
  auto* series = new QBarSeries;
  series->append(set);
  chart->addSeries(series);

  auto* rows = new QBarCategoryAxis;
  rows->append(categories);
  rows->setLabelsFont(DesignFont(QStringLiteral("Times New Roman"), 8));
  chart->addAxis(rows, Qt::AlignBottom);
  series->attachAxis(rows);

  // The scale always takes in the zero line, so negative results hang below it.
  const auto [low, high] = std::minmax_element(m_data.values.begin(), m_data.values.end());
  const double bottom = std::min(0.0, *low);
  double top = std::max(0.0, *high);
  if (top == bottom) top = 1;
  auto* values = new QValueAxis;
  values->setRange(bottom, top);
  // Rounding the ends outward would overflow near the largest doubles.
  constexpr double kNiceLimit = 1e307;
  if (bottom > -kNiceLimit && top < kNiceLimit) values->applyNiceNumbers();
  // Whole numbers without a fixed decimal, small and huge ones still readable.
  values->setLabelFormat(QStringLiteral("%.10g"));
  values->setLabelsFont(DesignFont(QStringLiteral("Arial"), 8.25));
  values->setTitleText(QStringLiteral("Приходи"));
  values->setTitleFont(DesignFont(QStringLiteral("Times New Roman"), 8));
  chart->addAxis(values, Qt::AlignLeft);
  series->attachAxis(values);

  // The view comes with a chart of its own, which setChart lets go of without deleting.
  const std::unique_ptr<QChart> unused(m_view->chart());
  m_view->setChart(chart);
}

QImage Diagram::PrintImage() {
  QImage image(size() * kPrintScale, QImage::Format_ARGB32_Premultiplied);
  image.fill(palette().color(QPalette::Window));
  {
    // The buttons come back however the picture taking ends.
    m_print->hide();
    m_exit->hide();
    const auto shown = qScopeGuard([this] {
      m_print->show();
      m_exit->show();
    });
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kPrintScale, kPrintScale);
    render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  }
  return image;
}

bool Diagram::Print() {
  if (!m_target.BeginJob()) return false;
  return m_target.EndJob(PaintOnPrinter(m_target.Printer()));
}

bool Diagram::PaintOnPrinter(QPrinter& printer) {
  const QImage image = PrintImage();
  QPainter painter;
  if (!painter.begin(&printer)) {
    m_dialogs.Message(ErrorMessage(ErrorCode::PrinterError));
    return false;
  }
  // The printable area, as large as the page allows, the window's proportions kept.
  const QSize page(painter.device()->width(), painter.device()->height());
  const QSize fitted = image.size().scaled(page, Qt::KeepAspectRatio);
  const QRect place(QPoint((page.width() - fitted.width()) / 2, 0), fitted);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(place, image);
  if (!painter.end()) {
    m_dialogs.Message(ErrorMessage(ErrorCode::PrinterError));
    return false;
  }
  return true;
}
