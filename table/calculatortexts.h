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

// What a screen reader says for the controls whose captions do not name them.
inline constexpr QStringView kRowName = u"Ред ";                   // + the row number
inline constexpr QStringView kResultCellName = u"Резултат, ред ";  // + the row number
inline constexpr QStringView kResultDescription = u"Резултат: ";   // + the shown result
inline constexpr QStringView kPanelName = u"Панел с бутони";

}  // namespace texts
