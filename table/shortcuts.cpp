#include "shortcuts.h"

#include <QKeySequence>
#include <QStringList>
#include <QStringView>

namespace {

constexpr Qt::KeyboardModifier kCtrl = Qt::ControlModifier;

const Shortcut kShortcuts[] = {
    {QKeyCombination(Qt::Key_F3), Command::ReadFile},
    {QKeyCombination(kCtrl, Qt::Key_O), Command::ReadFile},
    {QKeyCombination(kCtrl, Qt::Key_N), Command::NewTable},
    {QKeyCombination(Qt::Key_F2), Command::SaveFile},
    {QKeyCombination(kCtrl, Qt::Key_S), Command::SaveFile},
    {QKeyCombination(kCtrl, Qt::Key_Insert), Command::InsertRow},
    {QKeyCombination(kCtrl, Qt::Key_Delete), Command::DeleteRow},
    {QKeyCombination(Qt::Key_F5), Command::Recalculate},
    {QKeyCombination(Qt::Key_F9), Command::Recalculate},
    {QKeyCombination(kCtrl, Qt::Key_P), Command::Print},
    {QKeyCombination(Qt::Key_F1), Command::Help},
    {QKeyCombination(Qt::Key_Escape), Command::Exit},
    {QKeyCombination(kCtrl, Qt::Key_Q), Command::Exit},
};

constexpr QStringView kOneKey = u"Клавиш: ";
constexpr QStringView kKeys = u"Клавиши: ";

QKeyCombination WithoutKeypad(QKeyCombination key) {
  return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
}

}  // namespace

std::span<const Shortcut> Shortcuts() {
  return kShortcuts;
}

std::optional<Command> ShortcutCommand(QKeyCombination key) {
  const QKeyCombination plain = WithoutKeypad(key);
  for (const Shortcut& shortcut : kShortcuts)
    if (shortcut.key == plain) return shortcut.command;
  return std::nullopt;
}

QString ShortcutDescription(Command command) {
  QStringList keys;
  for (const Shortcut& shortcut : kShortcuts)
    if (shortcut.command == command)
      keys.append(QKeySequence(shortcut.key).toString(QKeySequence::PortableText));
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
