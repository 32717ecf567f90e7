#pragma once

#include <QString>

// The texts the report and its viewer show, exactly as users know them.
namespace reporttexts {

inline const QString kHeaderStart = QStringLiteral("|No:|");
inline const QString kHeaderName = QStringLiteral("  Наименование на параметъра");
inline const QString kHeaderSum = QStringLiteral("|      Сума     |");
inline const QString kCaptionDesign = QStringLiteral("Справки");
inline const QString kCaptionReport = QStringLiteral("Справка");
inline const QString kTipBold = QStringLiteral("Променя дебелината на шрифта");
inline const QString kTipItalic = QStringLiteral("Променя текста в наклонен");
inline const QString kTipOrientation =
    QStringLiteral("Променя положението на страницата при печат");
inline const QString kTipPrint = QStringLiteral("Печат");
inline const QString kTipPrevious = QStringLiteral("Предишна страница");
inline const QString kTipNext = QStringLiteral("Следваща страница");
inline const QString kLabelPage = QStringLiteral("Стр");
inline const QString kTipExit = QStringLiteral("Изход");
inline const QString kWidthTitle = QStringLiteral("Фиш");
inline const QString kWidthPage = QStringLiteral("Ширината на страницата (");
inline const QString kWidthText = QStringLiteral("е по-малка от ширината на текста. (");
inline const QString kMillimetreClose = QStringLiteral("мм)");
inline const QString kReportFace = QStringLiteral("Courier New");

}  // namespace reporttexts
