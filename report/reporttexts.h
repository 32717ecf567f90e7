#pragma once

#include <QStringView>

// The texts the report and its viewer show, exactly as users know them.
namespace reporttexts {

inline constexpr QStringView kHeaderStart = u"|No:|";
inline constexpr QStringView kHeaderName = u"  Наименование на параметъра";
inline constexpr QStringView kHeaderSum = u"|      Сума     |";
inline constexpr QStringView kCaptionDesign = u"Справки";
inline constexpr QStringView kCaptionReport = u"Справка";
inline constexpr QStringView kTipBold = u"Променя дебелината на шрифта";
inline constexpr QStringView kTipItalic = u"Променя текста в наклонен";
inline constexpr QStringView kTipOrientation = u"Променя положението на страницата при печат";
inline constexpr QStringView kTipPrint = u"Печат";
inline constexpr QStringView kTipPrevious = u"Предишна страница";
inline constexpr QStringView kTipNext = u"Следваща страница";
inline constexpr QStringView kLabelPage = u"Стр";
inline constexpr QStringView kTipExit = u"Изход";
inline constexpr QStringView kWidthTitle = u"Фиш";
inline constexpr QStringView kWidthPage = u"Ширината на страницата (";
inline constexpr QStringView kWidthText = u"е по-малка от ширината на текста. (";
inline constexpr QStringView kMillimetreClose = u"мм)";
inline constexpr QStringView kReportFace = u"Courier New";

}  // namespace reporttexts
