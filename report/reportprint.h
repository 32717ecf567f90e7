#pragma once

#include <QFont>
#include <QString>

class Dialogs;
class QPrinter;

// The viewer's print orientation; Unset until it is first toggled or printed.
enum class SheetOrientation { Unset, Portrait, Landscape };

// What the viewer hands to the printer: the face, bold and italic of its text font, the text
// of its size box and the print orientation.
struct ReportPrintSettings {
  QFont font;
  QString sizeText;
  SheetOrientation orientation = SheetOrientation::Portrait;
};

// The size a report gets when the viewer shows it.
inline constexpr int kReportTextSize = 8;

// What a report just shown in the viewer prints with: the viewer's fixed-pitch face, not bold
// or italic, in kReportTextSize points, portrait.
ReportPrintSettings ShownReportPrintSettings();

// The largest font size, in points, the text box takes and the printer is given.
inline constexpr int kLargestFontSize = 2160;

// The font the printer is given: face, bold and italic of the screen font, and the size box's
// leading number when it is above 0 (else 8 points). Underline and strikeout stay off.
QFont ReportPrinterFont(const ReportPrintSettings& settings);

// Widths as the width warning gives them: twips integer-divided by 60. The text width is that
// of its widest line in `font` on the printer; the page width is the printable width.
qint64 ReportTextWidthMm(QPrinter& printer, const QFont& font, const QString& text);
int ReportPageWidthMm(const QPrinter& printer);

// Prints `text` on `printer` as lines from the top left of the page, breaking to a new sheet
// where a page is full. When the text is wider than the page the user is asked first ("Фиш"),
// and only OK prints. A size above kLargestFontSize would print a blank page: the user is
// told so instead and nothing is printed. Failing printer steps are reported as message boxes and
// the remaining steps still run. True when a document was sent.
[[nodiscard]] bool PrintReportText(QPrinter& printer, Dialogs& dialogs, const QString& text,
                                   const ReportPrintSettings& settings);
