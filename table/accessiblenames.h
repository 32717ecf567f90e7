#pragma once

#include <QString>
#include <QStringView>

#include "functionbuttons.h"

class QLabel;
class QLineEdit;

// What a screen reader calls the controls whose captions are icons, abbreviations or nothing.
// Captions and tool tips stay as they are; only the accessible names and descriptions differ.

QString RowAccessibleName(int row);     // "Ред 5" for row index 4
QString ResultAccessibleName(int row);  // "Резултат, ред 5"
// The description of a formula box: the result its row shows, without the padding blank;
// empty while the row shows none.
QString RowResultDescription(const QString& shownResult);
// A function button is called by its tool tip, which names the function in words.
QString FunctionAccessibleName(const FunctionButton& button);
// A command button is called by its row's spoken name or else its tool tip; its description
// lists its keys.
QString CommandAccessibleName(const CommandButton& button);
QString CommandAccessibleDescription(const CommandButton& button);
// A field is called by its caption label, without the colon, and the label is its buddy.
void NameFieldByLabel(QLineEdit* field, QLabel* label);
