#include "scripteddialogs.h"

#include <QTest>
#include <QWidget>

QList<ScriptedDialogs::Asked> ScriptedDialogs::Of(const QString& kind) const {
  QList<Asked> result;
  for (const Asked& asked : m_log)
    if (asked.kind == kind) result.append(asked);
  return result;
}

int ScriptedDialogs::Pending() const {
  return static_cast<int>(m_questions.size() + m_choices.size() + m_inputs.size() + m_files.size() +
                          m_fonts.size());
}

void ScriptedDialogs::Unexpected(const Asked& asked) {
  const QByteArray what =
      ("unexpected " + asked.kind + ": " + asked.title + " / " + asked.text).toUtf8();
  QTest::qFail(what.constData(), __FILE__, __LINE__);
}

// Records what was asked and hands out the next answer; none left fails the test.
template <class T>
T ScriptedDialogs::Next(std::deque<T>& answers, const Asked& asked, T unanswered) {
  m_log.append(asked);
  if (answers.empty()) {
    Unexpected(asked);
    return unanswered;
  }
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

bool ScriptedDialogs::Question(const QString& text, const QString& title) {
  return Next(m_questions, {QStringLiteral("question"), text, title, {}}, false);
}

// The default button is recorded as the default text: "Да" or "Не"; the parent as the title.
bool ScriptedDialogs::YesNo(const QString& text, bool yesIsDefault, QWidget* parent) {
  return Next(m_questions,
              {QStringLiteral("yesno"), text, parent ? parent->objectName() : QString(),
               yesIsDefault ? QStringLiteral("Да") : QStringLiteral("Не")},
              false);
}

Dialogs::Choice ScriptedDialogs::FirstSecondOrLater(const QString& text, const QString& first,
                                                    const QString& second, const QString& later,
                                                    QWidget* parent) {
  return Next(m_choices,
              {QStringLiteral("choice"), text, parent ? parent->objectName() : QString(),
               QStringList{first, second, later}.join(u'|')},
              Choice::Later);
}

void ScriptedDialogs::Message(const QString& text, const QString& title) {
  m_log.append({QStringLiteral("message"), text, title, {}});
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
  return Next(m_inputs, {QStringLiteral("input"), prompt, title, defaultText}, QString());
}

QString ScriptedDialogs::ChooseFile(const QString& pattern) {
  return Next(m_files, {QStringLiteral("file"), pattern, {}, {}}, QString());
}

std::optional<QFont> ScriptedDialogs::ChooseFont(const QFont& initial) {
  return Next(m_fonts, {QStringLiteral("font"), initial.family(), {}, {}}, std::optional<QFont>());
}
