#pragma once

#include <QStringView>

// The texts the main window shows, in one place.
namespace texts {

inline constexpr QStringView kExitCaption = u"Изход";
inline constexpr QStringView kExplanationCaption = u"Обяснение:";
inline constexpr QStringView kRoundingCaption = u"Закръгления (max 15):";
inline constexpr QStringView kNoHeader = u"No:";
inline constexpr QStringView kFormulaHeader = u"Формула";
inline constexpr QStringView kResultHeader = u"Резултат";
inline constexpr QStringView kWrongFormulaTitle = u"Грешна формула.";
inline constexpr QStringView kClearQuestion = u"Изчиства таблицата?";
inline constexpr QStringView kDeleteQuestion = u"Изтрива ред";
inline constexpr QStringView kDeleteQuestionEnd = u" ?";

// The clipboard: the result cell's menu, the question before a paste replaces formulas, and
// what a paste could not do.
inline constexpr QStringView kCopyResult = u"Копирай резултата";
inline constexpr QStringView kCopyTable = u"Копирай таблицата";
inline constexpr QStringView kReplaceOneQuestion =
    u"Поставянето ще замени формулата в един ред. Да бъде ли заменена?";
inline constexpr QStringView kReplaceQuestion =
    u"Поставянето ще замени формулите в %1 реда. Да бъдат ли заменени?";
inline constexpr QStringView kOneLineLeftOut =
    u"Един ред от поставения текст не се побира след ред 25 и не е поставен.";
inline constexpr QStringView kLinesLeftOut =
    u"%1 реда от поставения текст не се побират след ред 25 и не са поставени.";
inline constexpr QStringView kPastedWrongRow = u"Грешна формула в ред %1.";
inline constexpr QStringView kPastedWrongRows = u"Грешни формули в редове %1.";

// What a screen reader says for the controls whose captions do not name them.
inline constexpr QStringView kRowName = u"Ред ";                   // + the row number
inline constexpr QStringView kResultCellName = u"Резултат, ред ";  // + the row number
inline constexpr QStringView kResultDescription = u"Резултат: ";   // + the shown result
inline constexpr QStringView kPanelName = u"Панел с бутони";

}  // namespace texts
