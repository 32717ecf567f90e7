#pragma once

#include <QTextStream>

#include "dialogs.h"

namespace cli {

// The questions and messages of the shared table code, for a run without windows: messages go
// to standard error as "verodazava: SUBJECT: text", and a question (the printer's page-width
// warning is the only one these modes can meet) is shown there too and answered with OK, as
// nobody is there to answer.
class ConsoleDialogs final : public Dialogs {
 public:
  ConsoleDialogs(QTextStream& err, QString subject) : m_err(err), m_subject(std::move(subject)) {}

  bool Question(const QString& text, const QString& title = {}) override;
  void Message(const QString& text, const QString& title = {}) override;
  bool YesNo(const QString& text, bool, QWidget*) override { return Question(text); }
  QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseFile(const QString&) override { return {}; }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }

 private:
  QTextStream& m_err;
  QString m_subject;
};

}  // namespace cli
