#include "consoledialogs.h"

namespace cli {

bool ConsoleDialogs::Question(const QString& text, const QString& title) {
  Message(text, title);
  return true;
}

void ConsoleDialogs::Message(const QString& text, const QString& title) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  m_err << "verodazava: ";
  if (!m_subject.isEmpty()) m_err << m_subject << ": ";
  m_err << (title.isEmpty() ? QString() : title + QStringLiteral(": ")) << shown << '\n';
  m_err.flush();
}

}  // namespace cli
