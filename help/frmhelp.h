#pragma once

#include <QDialog>
#include <memory>

class QPlainTextEdit;

// The help window: one wrapped, scrollable text box on a cyan ground. Escape, a click into
// the text or the close box closes it.
class frmHelp final : public QDialog {
  Q_OBJECT
 public:
  explicit frmHelp(QWidget* parent = nullptr);

  QPlainTextEdit* TextBox() const { return m_text; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* m_text;
};

namespace help {

// A fresh help window as the help command shows it: the help text, the caption, and the
// width widened to its shown size. Not yet shown.
std::unique_ptr<frmHelp> ComposeHelp(QWidget* parent = nullptr);

// The help command: shows a fresh help window modally and returns once it is closed.
void ShowHelp(QWidget* parent);

}  // namespace help
