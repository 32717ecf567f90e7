#include "accessiblenames.h"

#include <QLabel>
#include <QLineEdit>

#include "calculatortexts.h"
#include "shortcuts.h"

QString RowAccessibleName(int row) {
  return texts::kRowName.toString() + QString::number(row + 1);
}

QString ResultAccessibleName(int row) {
  return texts::kResultCellName.toString() + QString::number(row + 1);
}

QString RowResultDescription(const QString& shownResult) {
  const QString result = shownResult.trimmed();
  return result.isEmpty() ? QString() : texts::kResultDescription.toString() + result;
}

QString FunctionAccessibleName(const FunctionButton& button) {
  // One tool tip has two blanks between its words; speech needs none of them.
  return button.toolTip.toString().simplified();
}

QString CommandAccessibleName(const CommandButton& button) {
  return (button.accessibleName.isEmpty() ? button.toolTip : button.accessibleName).toString();
}

QString CommandAccessibleDescription(const CommandButton& button) {
  return ShortcutDescription(button);
}

void NameFieldByLabel(QLineEdit* field, QLabel* label) {
  label->setBuddy(field);
  QString name = label->text().trimmed();
  if (name.endsWith(u':')) name.chop(1);
  field->setAccessibleName(name);
}
