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

bool ScriptedDialogs::Question(const QString& text, const QString& title) {
  return NextAnswer({QStringLiteral("question"), text, title, {}});
}

// The default button is recorded as the default text: "Да" or "Не"; the parent as the title.
bool ScriptedDialogs::YesNo(const QString& text, bool yesIsDefault, QWidget* parent) {
  return NextAnswer({QStringLiteral("yesno"), text, parent ? parent->objectName() : QString(),
                     yesIsDefault ? QStringLiteral("Да") : QStringLiteral("Не")});
}

Dialogs::Choice ScriptedDialogs::FirstSecondOrLater(const QString& text, const QString& first,
                                                    const QString& second, const QString& later,
                                                    QWidget* parent) {
  m_log.append({QStringLiteral("choice"), text, parent ? parent->objectName() : QString(),
                QStringList{first, second, later}.join(u'|')});
  if (m_choices.empty()) Unexpected(m_log.last());
  const Choice answer = m_choices.empty() ? Choice::Later : m_choices.front();
  if (!m_choices.empty()) m_choices.pop_front();
  return answer;
}

bool ScriptedDialogs::NextAnswer(const Asked& asked) {
  m_log.append(asked);
  if (m_questions.empty()) {
    Unexpected(asked);
    return false;
  }
  const bool answer = m_questions.front();
  m_questions.pop_front();
  return answer;
}

void ScriptedDialogs::Message(const QString& text, const QString& title) {
  m_log.append({QStringLiteral("message"), text, title, {}});
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
  const Asked asked{QStringLiteral("input"), prompt, title, defaultText};
  m_log.append(asked);
  if (m_inputs.empty()) {
    Unexpected(asked);
    return {};
  }
  QString answer = m_inputs.front();
  m_inputs.pop_front();
  return answer;
}

QString ScriptedDialogs::ChooseFile(const QString& pattern) {
  const Asked asked{QStringLiteral("file"), pattern, {}, {}};
  m_log.append(asked);
  if (m_files.empty()) {
    Unexpected(asked);
    return {};
  }
  QString answer = m_files.front();
  m_files.pop_front();
  return answer;
}

std::optional<QFont> ScriptedDialogs::ChooseFont(const QFont& initial) {
  const Asked asked{QStringLiteral("font"), initial.family(), {}, {}};
  m_log.append(asked);
  if (m_fonts.empty()) {
    Unexpected(asked);
    return std::nullopt;
  }
  std::optional<QFont> answer = m_fonts.front();
  m_fonts.pop_front();
  return answer;
}
