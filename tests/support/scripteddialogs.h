#pragma once

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

#include "dialogs.h"

// A Dialogs seam for tests: answers come from a script, every question is recorded, and a
// question the script did not expect fails the running test instead of blocking.
class ScriptedDialogs final : public Dialogs {
 public:
  struct Asked {
    QString kind;  // "question", "yesno", "choice", "message", "input", "file", "font"
    QString text;  // the message, the prompt or the pattern
    QString title;
    QString defaultText;
  };

  // Answers OK/Cancel questions and Да/Не questions alike, in the order they come.
  void AnswerQuestion(bool ok) { m_questions.push_back(ok); }
  void AnswerChoice(Choice choice) { m_choices.push_back(choice); }
  void AnswerInput(const QString& text) { m_inputs.push_back(text); }
  void AnswerFile(const QString& name) { m_files.push_back(name); }
  void AnswerFont(std::optional<QFont> font) { m_fonts.push_back(std::move(font)); }

  // Everything asked so far, in order; messages included.
  const QList<Asked>& Log() const { return m_log; }
  QList<Asked> Of(const QString& kind) const;
  void ClearLog() { m_log.clear(); }
  // Answers the script still holds.
  int Pending() const;

  bool Question(const QString& text, const QString& title = {}) override;
  void Message(const QString& text, const QString& title = {}) override;
  bool YesNo(const QString& text, bool yesIsDefault, QWidget* parent) override;
  // Recorded with the parent as the title and the three captions, "|"-joined, as the default.
  Choice FirstSecondOrLater(const QString& text, const QString& first, const QString& second,
                            const QString& later, QWidget* parent) override;
  QString InputBox(const QString& prompt, const QString& title,
                   const QString& defaultText) override;
  QString ChooseFile(const QString& pattern) override;
  std::optional<QFont> ChooseFont(const QFont& initial) override;

 private:
  void Unexpected(const Asked& asked);
  template <class T>
  T Next(std::deque<T>& answers, const Asked& asked, T unanswered);

  QList<Asked> m_log;
  std::deque<bool> m_questions;
  std::deque<Choice> m_choices;
  std::deque<QString> m_inputs;
  std::deque<QString> m_files;
  std::deque<std::optional<QFont>> m_fonts;
};

// Answers questions through a callback, so a test can look at the window while one is open.
class ProbeDialogs final : public Dialogs {
 public:
  std::function<bool(const QString&, const QString&)> onQuestion;
  bool Question(const QString& text, const QString& title) override {
    return onQuestion(text, title);
  }
  void Message(const QString&, const QString&) override {}
  bool YesNo(const QString&, bool, QWidget*) override { return false; }
  QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseFile(const QString&) override { return {}; }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }
};
