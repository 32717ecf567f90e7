#include "reportprint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "dialogs.h"
#include "errormessage.h"
#include "leadingnumber.h"
#include "numbertext.h"
#include "reportnumbers.h"
#include "reporttexts.h"

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;
// The warning's "мм" counts 60 twips to a millimetre.
constexpr int kTwipsPerMm = 60;
constexpr double kDefaultPrintSize = 8;

QStringList Lines(const QString& text) {
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  plain.replace(u'\r', u'\n');
  QStringList lines = plain.split(u'\n');
  // The line end after the last line starts no further line.
  if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// A failing step of a PDF file target is a file problem, of a real printer a printer one.
QString FailureText(const QPrinter& printer) {
  return ErrorMessage(printer.outputFormat() == QPrinter::PdfFormat ? ErrorCode::PathFileAccess
                                                                    : ErrorCode::PrinterError);
}

// Qt lays a text out in 26.6 fixed point, which wraps at about 33 million device pixels; a
// long line is therefore measured in pieces that stay far below that and added up.
double LineWidth(const QFontMetricsF& metrics, QStringView line) {
  constexpr qsizetype kPiece = 4096;
  double width = 0;
  while (line.size() > kPiece) {
    qsizetype cut = kPiece;
    if (line[cut - 1].isHighSurrogate()) --cut;  // never between the halves of a character
    width += metrics.horizontalAdvance(line.left(cut).toString());
    line = line.mid(cut);
  }
  return width + metrics.horizontalAdvance(line.toString());
}

// Halves to even, like every rounding here, through the engine's 32-bit rounding: whole
// multiples of 2^30 are split off first, and being even they never turn a half.
qint64 RoundTwips(double twips) {
  constexpr double kStep = 1073741824.0;
  const double high = std::floor(twips / kStep) * kStep;
  return static_cast<qint64>(high) + *RoundToInt32(twips - high);
}

// The size typed into the size box; a number beyond a double's range counts as none.
double TypedSize(const ReportPrintSettings& settings) {
  const double size = LeadingNumber(settings.sizeText);
  return std::isfinite(size) ? size : 0;
}

}  // namespace

ReportPrintSettings ShownReportPrintSettings() {
  return {QFont(reporttexts::kReportFace.toString()), QString::number(kReportTextSize),
          SheetOrientation::Portrait};
}

QFont ReportPrinterFont(const ReportPrintSettings& settings) {
  QFont font(settings.font.family());
  font.setStyleHint(QFont::TypeWriter);
  font.setBold(settings.font.bold());
  font.setItalic(settings.font.italic());
  const double size = TypedSize(settings);
  font.setPointSizeF(size > 0 ? size : kDefaultPrintSize);
  return font;
}

qint64 ReportTextWidthMm(QPrinter& printer, const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font, &printer);
  double widest = 0;
  for (const QString& line : Lines(text)) widest = std::max(widest, LineWidth(metrics, line));
  const double twips = widest * kTwipsPerInch / printer.logicalDpiX();
  return RoundTwips(twips) / kTwipsPerMm;
}

int ReportPageWidthMm(const QPrinter& printer) {
  const double twips = printer.pageRect(QPrinter::Point).width() * kTwipsPerPoint;
  return static_cast<int>(RoundTwips(twips) / kTwipsPerMm);
}

bool PrintReportText(QPrinter& printer, Dialogs& dialogs, const QString& text,
                     const ReportPrintSettings& settings) {
  // Rounded as the text box rounds it, so the screen and the printer take the same sizes.
  const double typed = TypedSize(settings);
  if (typed > 0 && RoundToShort(typed).value_or(kLargestFontSize + 1) > kLargestFontSize) {
    dialogs.Message(QStringLiteral("Размерът на шрифта (%1) е твърде голям за печат: "
                                   "най-много %2 точки. Нищо не е отпечатано.")
                        .arg(settings.sizeText.trimmed())
                        .arg(kLargestFontSize),
                    reporttexts::kWidthTitle.toString());
    return false;
  }
  const QFont font = ReportPrinterFont(settings);
  if (!printer.setPageOrientation(settings.orientation == SheetOrientation::Landscape
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait))
    dialogs.Message(ErrorMessage(ErrorCode::PrinterError));

  const qint64 textMm = ReportTextWidthMm(printer, font, text);
  const int pageMm = ReportPageWidthMm(printer);
  if (textMm > pageMm) {
    const QString question = reporttexts::kWidthPage.toString() + QString::number(pageMm) +
                             reporttexts::kMillimetreClose.toString() + QStringLiteral("\r\n") +
                             reporttexts::kWidthText.toString() + QString::number(textMm) +
                             reporttexts::kMillimetreClose.toString();
    if (!dialogs.Question(question, reporttexts::kWidthTitle.toString())) return false;
  }

  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs.Message(FailureText(printer));
    return false;
  }
  painter.setFont(font);
  const QFontMetricsF metrics(font, &printer);
  const double pageHeight = printer.pageRect(QPrinter::DevicePixel).height();
  double y = 0;
  for (const QString& line : Lines(text)) {
    // A line that no longer fits goes to the next sheet; a sheet always takes one line.
    if (y > 0 && y + metrics.height() > pageHeight) {
      if (!printer.newPage()) dialogs.Message(FailureText(printer));
      y = 0;
    }
    painter.drawText(QPointF(0, y + metrics.ascent()), line);
    y += metrics.lineSpacing();
  }
  bool sent = painter.end();
  if (!sent || printer.printerState() == QPrinter::Error) {
    dialogs.Message(FailureText(printer));
    sent = false;
  }
  return sent;
}
