#pragma once

#include <QFont>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

inline constexpr QStringView kAppTitle = u"Verodazava 2.0";

// Every modal question the windows ask goes through this seam, so that tests can answer
// them without a real modal dialog.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Message box with OK and Cancel, no icon; true only for OK. An empty title shows the
  // application's title.
  virtual bool Question(const QString& text, const QString& title = {}) = 0;
  // Message box with OK only, for reports of failures.
  virtual void Message(const QString& text, const QString& title = {}) = 0;
  // Message box with the buttons Да and Не over `parent`, the application's title; true only
  // for Да.
  virtual bool YesNo(const QString& text, bool yesIsDefault, QWidget* parent) = 0;
  // What a question that may be put off was answered.
  enum class Choice { First, Second, Later };
  // Message box over `parent`, the application's title, with three buttons that say what they
  // do: `first` (the default), `second`, and `later`, which Esc and the close box give too. A
  // seam that cannot ask answers Later, so that nothing is done the user did not choose.
  virtual Choice FirstSecondOrLater(const QString& text, const QString& first,
                                    const QString& second, const QString& later, QWidget* parent) {
    Q_UNUSED(text)
    Q_UNUSED(first)
    Q_UNUSED(second)
    Q_UNUSED(later)
    Q_UNUSED(parent)
    return Choice::Later;
  }
  // Input box with prompt, title and default text; Cancel gives an empty text.
  virtual QString InputBox(const QString& prompt, const QString& title,
                           const QString& defaultText) = 0;
  // The file chooser for a wildcard pattern; an empty text when nothing was chosen.
  virtual QString ChooseFile(const QString& pattern) = 0;
  // The font dialog; nothing when it was cancelled.
  virtual std::optional<QFont> ChooseFont(const QFont& initial) = 0;
};

// The width a dialog needs so that the window manager shows its whole title: the title in
// a bold face, with room for the title bar's icon and buttons.
int TitleBarWidth(const QString& title);

// The real dialogs: QMessageBox, QInputDialog, QFontDialog. The file chooser lives in a
// folder above this one, so it is handed in. Every dialog opens over the program's window it
// belongs to.
class QtDialogs final : public Dialogs {
 public:
  // Shows the chooser over `owner`, the window the seam's other dialogs open over.
  using FileChooser = std::function<QString(const QString& pattern, QWidget* owner)>;
  explicit QtDialogs(FileChooser chooser = {});
  ~QtDialogs() override;
  QtDialogs(const QtDialogs&) = delete;
  QtDialogs& operator=(const QtDialogs&) = delete;
  // The window a dialog belongs to while no window of the program is active yet (a message
  // about a file opened at start-up), so that it opens over that window.
  void SetOwner(QWidget* owner) { m_owner = owner; }

  // The window a dialog opens over: the active window; while none is active (a dialog has
  // just closed and the window manager has not given the focus back yet) the program's
  // window that was active last, or before any was active the owner set above. Dialogs
  // themselves are passed over, as they are gone by the time the next one opens.
  QWidget* Owner() const;

  bool Question(const QString& text, const QString& title = {}) override;
  void Message(const QString& text, const QString& title = {}) override;
  bool YesNo(const QString& text, bool yesIsDefault, QWidget* parent) override;
  Choice FirstSecondOrLater(const QString& text, const QString& first, const QString& second,
                            const QString& later, QWidget* parent) override;
  QString InputBox(const QString& prompt, const QString& title,
                   const QString& defaultText) override;
  QString ChooseFile(const QString& pattern) override;
  std::optional<QFont> ChooseFont(const QFont& initial) override;

 private:
  FileChooser m_chooser;
  QPointer<QWidget> m_lastWindow;
  QMetaObject::Connection m_tracking;
  QPointer<QWidget> m_owner;
};
