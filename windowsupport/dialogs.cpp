#include "dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// What a title bar takes besides its text: the window icon and three buttons, with padding.
constexpr int kTitleBarExtra = 110;

QString TitleOrApp(const QString& title) {
  return title.isEmpty() ? kAppTitle.toString() : title;
}

bool IsWindowOfProgram(const QWidget* window) {
  return window && window->isVisible() && !qobject_cast<const QDialog*>(window);
}

// Both dialogs size themselves to their layouts, so the title's width goes into the layout.
void WidenForTitle(QDialog& dialog) {
  dialog.minimumSizeHint();  // the input dialog builds its layout only when asked for a size
  const int width = TitleBarWidth(dialog.windowTitle());
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  else if (auto* column = qobject_cast<QBoxLayout*>(dialog.layout()))
    column->addStrut(width);
}

int RunBox(QWidget* owner, const QString& text, const QString& title,
           QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, TitleOrApp(title), text, buttons, owner);
  // A formula such as 2<a>3 is text, not markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  WidenForTitle(box);
  return box.exec();
}

}  // namespace

int TitleBarWidth(const QString& title) {
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtra;
}

QtDialogs::QtDialogs(FileChooser chooser) : m_chooser(std::move(chooser)) {
  if (IsWindowOfProgram(QApplication::activeWindow())) m_lastWindow = QApplication::activeWindow();
  m_tracking = QObject::connect(qApp, &QApplication::focusChanged, [this](QWidget*, QWidget* now) {
    if (now && IsWindowOfProgram(now->window())) m_lastWindow = now->window();
  });
}

QtDialogs::~QtDialogs() {
  QObject::disconnect(m_tracking);
}

QWidget* QtDialogs::Owner() const {
  QWidget* active = QApplication::activeWindow();
  if (active && active->isVisible()) return active;
  if (m_lastWindow && m_lastWindow->isVisible()) return m_lastWindow;
  if (m_owner && m_owner->isVisible()) return m_owner;
  return nullptr;
}

bool QtDialogs::Question(const QString& text, const QString& title) {
  return RunBox(Owner(), text, title, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtDialogs::Message(const QString& text, const QString& title) {
  RunBox(Owner(), text, title, QMessageBox::Ok);
}

bool QtDialogs::YesNo(const QString& text, bool yesIsDefault, QWidget* parent) {
  QMessageBox box(QMessageBox::NoIcon, kAppTitle.toString(), text, QMessageBox::NoButton,
                  parent ? parent : Owner());
  box.setTextFormat(Qt::PlainText);
  // The captions are the program's own, whatever translation Qt has.
  QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("Не"), QMessageBox::NoRole);
  box.setDefaultButton(yesIsDefault ? yes : no);
  box.setEscapeButton(no);
  WidenForTitle(box);
  box.exec();
  return box.clickedButton() == yes;
}

Dialogs::Choice QtDialogs::FirstSecondOrLater(const QString& text, const QString& first,
                                              const QString& second, const QString& later,
                                              QWidget* parent) {
  QMessageBox box(QMessageBox::NoIcon, kAppTitle.toString(), text, QMessageBox::NoButton,
                  parent ? parent : Owner());
  box.setTextFormat(Qt::PlainText);
  QPushButton* firstButton = box.addButton(first, QMessageBox::AcceptRole);
  QPushButton* secondButton = box.addButton(second, QMessageBox::DestructiveRole);
  // The escape button is also what the close box clicks.
  box.setEscapeButton(box.addButton(later, QMessageBox::RejectRole));
  box.setDefaultButton(firstButton);
  WidenForTitle(box);
  box.exec();
  if (box.clickedButton() == firstButton) return Choice::First;
  return box.clickedButton() == secondButton ? Choice::Second : Choice::Later;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
  QInputDialog dialog(Owner());
  dialog.setWindowTitle(TitleOrApp(title));
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  WidenForTitle(dialog);
  return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString QtDialogs::ChooseFile(const QString& pattern) {
  return m_chooser ? m_chooser(pattern, Owner()) : QString();
}

std::optional<QFont> QtDialogs::ChooseFont(const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, Owner());
  if (!ok) return std::nullopt;
  return font;
}
