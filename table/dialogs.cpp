#include "dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString TitleOrApp(const QString& title) {
  return title.isEmpty() ? kAppTitle : title;
}

int RunBox(const QString& text, const QString& title, QMessageBox::StandardButtons buttons,
           QWidget* parent) {
  QMessageBox box(QMessageBox::NoIcon, TitleOrApp(title), text, buttons, parent);
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec();
}

}  // namespace

QWidget* QtDialogs::Parent() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return m_owner;
}

bool QtDialogs::Question(const QString& text, const QString& title) {
  return RunBox(text, title, QMessageBox::Ok | QMessageBox::Cancel, Parent()) == QMessageBox::Ok;
}

void QtDialogs::Message(const QString& text, const QString& title) {
  RunBox(text, title, QMessageBox::Ok, Parent());
}

bool QtDialogs::YesNo(const QString& text, bool yesIsDefault, QWidget* parent) {
  QMessageBox box(QMessageBox::NoIcon, kAppTitle, text, QMessageBox::NoButton,
                  parent ? parent : QApplication::activeWindow());
  // The captions are the program's own, whatever translation Qt has.
  QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("Не"), QMessageBox::NoRole);
  box.setDefaultButton(yesIsDefault ? yes : no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
  bool ok = false;
  const QString answer = QInputDialog::getText(Parent(), TitleOrApp(title), prompt,
                                               QLineEdit::Normal, defaultText, &ok);
  return ok ? answer : QString();
}

QString QtDialogs::ChooseFile(const QString& pattern) {
  return m_chooser ? m_chooser(pattern) : QString();
}

std::optional<QFont> QtDialogs::ChooseFont(const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, Parent());
  if (!ok) return std::nullopt;
  return font;
}
