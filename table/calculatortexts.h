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

}  // namespace texts
