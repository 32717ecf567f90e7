#include "shortcuts.h"

#include <QKeySequence>
#include <algorithm>
#include <QStringList>
#include <QStringView>

namespace {

constexpr Qt::KeyboardModifier kCtrl = Qt::ControlModifier;

constexpr QStringView kOneKey = u"Клавиш: ";
constexpr QStringView kKeys = u"Клавиши: ";

QKeyCombination WithoutKeypad(QKeyCombination key) {
  return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
}

}  // namespace

const CommandButton* ShortcutButton(QKeyCombination key) {
  const QKeyCombination plain = WithoutKeypad(key);
  const auto runs = [&](const CommandButton& button) {
    return std::find(button.keys.begin(), button.keys.end(), plain) != button.keys.end();
  };
  for (const CommandButton& button : CommandButtons())
    if (runs(button)) return &button;
  return runs(kExitButton) ? &kExitButton : nullptr;
}

QString ShortcutDescription(const CommandButton& button) {
  QStringList keys;
  for (const QKeyCombination key : button.keys)
    if (key.key() != Qt::Key_unknown)
      keys.append(QKeySequence(key).toString(QKeySequence::PortableText));
  if (keys.isEmpty()) return {};
  return (keys.size() == 1 ? kOneKey : kKeys).toString() + keys.join(QStringLiteral(", "));
}

UndoKey UndoKeyOf(QKeyCombination key) {
  const QKeyCombination plain = WithoutKeypad(key);
  if (plain == QKeyCombination(kCtrl, Qt::Key_Z)) return UndoKey::Undo;
  if (plain == QKeyCombination(kCtrl | Qt::ShiftModifier, Qt::Key_Z) ||
      plain == QKeyCombination(kCtrl, Qt::Key_Y))
    return UndoKey::Redo;
  return UndoKey::None;
}
