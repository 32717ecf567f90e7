#include "dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString TitleOrApp(const QString& title) {
  return title.isEmpty() ? kAppTitle : title;
}

int RunBox(const QString& text, const QString& title, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, TitleOrApp(title), text, buttons,
                  QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec();
}

}  // namespace

bool QtDialogs::Question(const QString& text, const QString& title) {
  return RunBox(text, title, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtDialogs::Message(const QString& text, const QString& title) {
  RunBox(text, title, QMessageBox::Ok);
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
  bool ok = false;
  const QString answer = QInputDialog::getText(QApplication::activeWindow(), TitleOrApp(title),
                                               prompt, QLineEdit::Normal, defaultText, &ok);
  return ok ? answer : QString();
}

QString QtDialogs::ChooseFile(const QString& pattern) {
  return m_chooser ? m_chooser(pattern) : QString();
}

std::optional<QFont> QtDialogs::ChooseFont(const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
  if (!ok) return std::nullopt;
  return font;
}
