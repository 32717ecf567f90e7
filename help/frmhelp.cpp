#include "frmhelp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

#include "helptext.h"
#include "twips.h"
#include "widgetstyle.h"

namespace {

constexpr int kLoadWidth = 10000;  // twips, the size the window is built with
constexpr int kLoadHeight = 6000;
constexpr int kShownWidth = 12000;  // the help command widens it before showing
constexpr int kTextLeft = 120;
constexpr int kTextTop = 150;
constexpr int kHeightMargin = 650;  // the text box is this much lower than the window
constexpr int kWidthMargin = 360;   // and this much narrower

}  // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent), m_text(new QPlainTextEdit(this)) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setSizeGripEnabled(false);

  // "Microsoft Sans Serif" does not exist here; Arial (Liberation Sans) has its metrics.
  setFont(DesignFont(QStringLiteral("Arial"), 9));
  SetBackground(this, QColor(0, 255, 255));

  QFont textFont = DesignFont(QStringLiteral("Courier New"), 9.75, true);
  textFont.setStyleHint(QFont::TypeWriter);
  m_text->setFont(textFont);
  SetPaper(m_text, QColor(255, 255, 192));
  QPalette paper = m_text->palette();
  // The cyan belongs to the margins only: the box's frame and scroll bar, which the style
  // draws from the window colour, keep the usual one.
  paper.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  m_text->setPalette(paper);
  m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A click closes the window anyway; read-only keeps the keyboard from changing the text
  // while it still scrolls it.
  m_text->setReadOnly(true);
  m_text->setTextInteractionFlags(Qt::TextSelectableByKeyboard);
  m_text->setPlainText(QStringLiteral("Text1"));
  m_text->move(Twips(kTextLeft), Twips(kTextTop));
  // The window sees Escape before the text box does, and a click on the text (not on its
  // scroll bar) closes the help.
  m_text->installEventFilter(this);
  m_text->viewport()->installEventFilter(this);

  resize(TwipsSize(kLoadWidth, kLoadHeight));
}

void frmHelp::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // A window dragged smaller than the margins keeps an empty text box, never a negative one.
  const int width = std::max(0, PixelsInTwips(this->width()) - kWidthMargin);
  const int height = std::max(0, PixelsInTwips(this->height()) - kHeightMargin);
  m_text->resize(Twips(width), Twips(height));
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      m_text->viewport()->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

namespace help {

std::unique_ptr<frmHelp> ComposeHelp(QWidget* parent) {
  auto window = std::make_unique<frmHelp>(parent);
  window->TextBox()->setPlainText(HelpText());
  window->setWindowTitle(QStringLiteral("Помощна информация"));
  window->resize(Twips(kShownWidth), window->height());
  return window;
}

void ShowHelp(QWidget* parent) {
  const std::unique_ptr<frmHelp> window = ComposeHelp(parent);
  window->exec();
}

}  // namespace help
