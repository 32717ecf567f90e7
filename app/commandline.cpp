#include "commandline.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "dialogs.h"
#include "errormessage.h"
#include "filenames.h"
#include "formulacommands.h"
#include "reportprint.h"
#include "reporttext.h"
#include "resultformat.h"
#include "rowediting.h"
#include "safefile.h"
#include "tablestate.h"

namespace {

const QString kProgram = QStringLiteral("verodazava");

// The questions and messages of the shared table code, for a run without windows: messages go
// to standard error, and a question (the printer's page-width warning is the only one these
// modes can meet) is shown there too and answered with OK, as nobody is there to answer.
class ConsoleDialogs final : public Dialogs {
 public:
  ConsoleDialogs(QTextStream& err, QString subject) : m_err(err), m_subject(std::move(subject)) {}

  bool Question(const QString& text, const QString& title = {}) override {
    Message(text, title);
    return true;
  }
  void Message(const QString& text, const QString& title = {}) override {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    m_err << kProgram << ": " << m_subject << ": "
          << (title.isEmpty() ? QString() : title + QStringLiteral(": ")) << shown << '\n';
    m_err.flush();
  }
  bool YesNo(const QString& text, bool, QWidget*) override { return Question(text); }
  QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseFile(const QString&) override { return {}; }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }

 private:
  QTextStream& m_err;
  QString m_subject;
};

CommandLine Only(CommandLine::Mode mode) {
  CommandLine command;
  command.mode = mode;
  return command;
}

CommandLine UsageError(QString text) {
  CommandLine command = Only(CommandLine::Mode::UsageError);
  command.error = std::move(text);
  return command;
}

// Qt's own options (QGuiApplication and QApplication take them out of argv themselves), with
// whether a value follows; they stay usable with the window, as in any Qt program.
struct QtOption {
  const char* name;
  bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true},
    {"qwindowicon", true},     {"style", true},
    {"stylesheet", true},      {"session", true},
    {"display", true},         {"geometry", true},
    {"reverse", false},        {"nograb", false},
    {"dograb", false},         {"sync", false},
    {"widgetcount", false},
};

QStringList WithoutQtOptions(const QStringList& arguments, QString& platform) {
  QStringList ours;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QStringLiteral("--")) {
      ours.append(arguments.mid(i));
      break;
    }
    const QString name = QString(argument).remove(QRegularExpression(QStringLiteral("^--?")));
    const auto qt =
        std::find_if(std::begin(kQtOptions), std::end(kQtOptions), [&](const QtOption& o) {
          return i > 0 && argument.startsWith(u'-') &&
                 (name == QLatin1String(o.name) ||
                  (o.takesValue && name.startsWith(QLatin1String(o.name) + u'=')));
        });
    if (qt == std::end(kQtOptions)) {
      ours.append(argument);
      continue;
    }
    QString value;
    if (name.contains(u'='))
      value = name.section(u'=', 1);
    else if (qt->takesValue)
      value = arguments.value(++i);
    if (qstrcmp(qt->name, "platform") == 0) platform = value;
  }
  return ours;
}

// QCommandLineParser's own error texts are English; the program speaks Bulgarian.
QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    const QString name = unknown.first();
    QString text = QStringLiteral("непозната опция „%1%2“")
                       .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    if (name.front().isDigit() || name.startsWith(u'.') || name.startsWith(u'('))
      text += QStringLiteral(" (формула, която започва с „-“, се пише след „--“)");
    return text;
  }
  if (!arguments.isEmpty() && arguments.last().startsWith(u'-'))
    return QStringLiteral("липсва стойност след „%1“").arg(arguments.last());
  return QStringLiteral("неправилно зададена опция");
}

// The table read from a formula file and recalculated once from the top, as the window shows
// it after opening the file; false (with the read command's message on `err`) when unreadable.
bool LoadTable(const QString& path, int decimals, const UserLocale& locale, TableState& state,
               QTextStream& err) {
  ConsoleDialogs dialogs(err, path);
  // A file read only in part is a failure too: a script must not take half a table for all.
  const ReadOutcome read = ReadFormulaFileAt(state, path);
  if (read.failure) dialogs.Message(ErrorMessage(*read.failure));
  if (read.outcome != FileOutcome::Done) return false;
  state.roundingDigits = decimals;
  mdlCalcFunction evaluator(locale.dates, &state);
  RecalculateAll(state, evaluator);
  return true;
}

QString Report(const TableState& state, const UserLocale& locale) {
  return ComposeTableReport(state, state.explanation, locale.decimalPoint);
}

// Where the evaluator stopped, shown under the formula as the row was entered.
void ShowSyntaxError(QTextStream& err, int row, const EnteredRow& entered) {
  const int index = ErrorIndexInBox(entered.text, entered.errorPos);
  QString caret = entered.text.left(index);
  for (QChar& c : caret)
    if (c != u'\t') c = u' ';
  err << QStringLiteral("грешка в ред %1, позиция %2").arg(row + 1).arg(index + 1) << '\n'
      << "  " << entered.text << '\n'
      << "  " << caret << "^\n";
}

int RunEval(const CommandLine& command, QTextStream& in, QTextStream& out, QTextStream& err,
            const UserLocale& locale) {
  QStringList formulas = command.formulas;
  if (formulas == QStringList{QStringLiteral("-")}) {
    formulas.clear();
    // One line more than the table holds is enough to refuse the input.
    while (formulas.size() <= kVisibleRows && !in.atEnd()) formulas.append(in.readLine());
  }
  if (formulas.size() > kVisibleRows) {
    err << kProgram
        << QStringLiteral(": таблицата има %1 реда, а формулите са повече\n").arg(kVisibleRows);
    return kExitFailure;
  }

  TableState state;
  mdlCalcFunction evaluator(locale.dates, &state);
  int status = kExitOk;
  for (int row = 0; row < formulas.size(); ++row) {
    const EnteredRow entered = EnterFormula(state, row, formulas[row], evaluator);
    // Scripts read a point whatever the user's locale writes.
    out << FormatResult(state.rows[row].result, command.decimals, u'.') << '\n';
    if (entered.Failed()) {
      out.flush();
      ShowSyntaxError(err, row, entered);
      err.flush();
      status = kExitSyntaxError;
    }
  }
  return status;
}

int RunReport(const CommandLine& command, QTextStream& out, QTextStream& err,
              const UserLocale& locale) {
  TableState state;
  if (!LoadTable(command.reportFile, command.decimals, locale, state, err)) return kExitFailure;
  QString text = Report(state, locale);
  // A shell's lines end with a line feed alone.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out << text;
  return kExitOk;
}

// Prints into a scratch file, then hands the finished document to the all-or-nothing writer
// of the formula files, so a failure never leaves a partial PDF under the user's name.
int RunPdf(const CommandLine& command, QTextStream& err, const UserLocale& locale) {
  TableState state;
  if (!LoadTable(command.reportFile, command.decimals, locale, state, err)) return kExitFailure;

  const QFileInfo target(command.pdfFile);
  ConsoleDialogs dialogs(err, command.pdfFile);
  if (IsFormulaFileName(target.fileName())) {
    dialogs.Message(QStringLiteral("PDF файл не се записва под име на файл с формули (.SPR)"));
    return kExitFailure;
  }
  QTemporaryFile scratch;
  if (!scratch.open()) {
    dialogs.Message(ErrorMessage(ErrorCode::PathFileAccess));
    return kExitFailure;
  }
  scratch.close();

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(scratch.fileName());
  if (!PrintReportText(printer, dialogs, Report(state, locale), ShownReportPrintSettings()))
    return kExitFailure;

  // The PDF writer does not report a failed final write: the document must end complete.
  QFile drawn(scratch.fileName());
  const QByteArray pdf = drawn.open(QIODevice::ReadOnly) ? drawn.readAll() : QByteArray();
  if (!pdf.right(8).contains("%%EOF")) {
    dialogs.Message(ErrorMessage(ErrorCode::DiskFull));
    return kExitFailure;
  }
  if (const auto failure = WriteFileAtomically(target.absolutePath(), target.fileName(), pdf)) {
    dialogs.Message(ErrorMessage(*failure));
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
  const QCommandLineOption eval({QStringLiteral("e"), QStringLiteral("eval")}, {});
  const QCommandLineOption report({QStringLiteral("r"), QStringLiteral("report")}, {});
  const QCommandLineOption pdf({QStringLiteral("p"), QStringLiteral("pdf")}, {},
                               QStringLiteral("OUT.pdf"));
  const QCommandLineOption decimals({QStringLiteral("d"), QStringLiteral("decimals")}, {},
                                    QStringLiteral("N"));
  parser.addOptions({help, version, eval, report, pdf, decimals});
  QString platform;
  const QStringList ours = WithoutQtOptions(arguments, platform);
  if (!parser.parse(ours)) return UsageError(ParseErrorText(parser, ours));

  if (parser.isSet(help)) return Only(CommandLine::Mode::Help);
  if (parser.isSet(version)) return Only(CommandLine::Mode::Version);

  CommandLine command;
  const int modes = int{parser.isSet(eval)} + int{parser.isSet(report)} + int{parser.isSet(pdf)};
  if (modes > 1) return UsageError(QStringLiteral("--eval, --report и --pdf не вървят заедно"));
  if (parser.isSet(decimals)) {
    if (modes == 0)
      return UsageError(QStringLiteral("--decimals важи само заедно с --eval, --report или --pdf"));
    bool ok = false;
    const QString value = parser.value(decimals);
    command.decimals = value.toInt(&ok);
    if (!ok || command.decimals < 0 || command.decimals > 15)
      return UsageError(
          QStringLiteral("броят десетични знаци трябва да е цяло число от 0 до 15, а е „%1“")
              .arg(value));
  }

  const QStringList positional = parser.positionalArguments();
  if (parser.isSet(eval)) {
    if (positional.isEmpty()) return UsageError(QStringLiteral("--eval иска поне една формула"));
    command.mode = CommandLine::Mode::Eval;
    command.formulas = positional;
    return command;
  }
  if (modes == 1) {
    if (positional.size() != 1)
      return UsageError(
          QStringLiteral("%1 иска точно един файл с формули")
              .arg(parser.isSet(pdf) ? QStringLiteral("--pdf") : QStringLiteral("--report")));
    command.mode = parser.isSet(pdf) ? CommandLine::Mode::Pdf : CommandLine::Mode::Report;
    command.reportFile = positional.first();
    command.pdfFile = parser.value(pdf);
    return command;
  }
  if (positional.size() > 1) return UsageError(QStringLiteral("прозорецът отваря само един файл"));
  command.startFile = positional.value(0);
  command.platform = platform;
  return command;
}

QString UsageText() {
  return QStringLiteral(
      "Употреба:\n"
      "  verodazava [ФАЙЛ.SPR]\n"
      "  verodazava [--decimals N] --eval ФОРМУЛА [ФОРМУЛА...]\n"
      "  verodazava [--decimals N] --eval -\n"
      "  verodazava [--decimals N] --report ФАЙЛ.SPR\n"
      "  verodazava [--decimals N] --pdf ИЗХОД.pdf ФАЙЛ.SPR\n"
      "\n"
      "Verodazava 2.0 е калкулатор на таблица от 25 реда с формули. Без опции отваря\n"
      "прозореца с празна таблица, а с ФАЙЛ.SPR – с този файл с формули, прочетен и\n"
      "преизчислен; записите отиват в папката на файла.\n"
      "\n"
      "Опции:\n"
      "  -e, --eval            изчислява формулите като редове на таблицата (n-тата\n"
      "                        формула е ред n, така че SUM(n) чете резултата ѝ) и\n"
      "                        извежда по един резултат на ред, винаги с точка;\n"
      "                        „-“ като единствена формула чете формулите от\n"
      "                        стандартния вход, по една на ред (най-много 25)\n"
      "  -r, --report          извежда справката за ФАЙЛ.SPR на стандартния изход\n"
      "                        (UTF-8), както я показва прозорецът на справката\n"
      "  -p, --pdf ИЗХОД.pdf   отпечатва справката за ФАЙЛ.SPR в PDF файла ИЗХОД.pdf\n"
      "  -d, --decimals N      брой знаци след десетичната точка, от 0 до 15\n"
      "                        (по подразбиране 4)\n"
      "  -h, --help            показва тази помощ\n"
      "  -v, --version         показва версията\n"
      "\n"
      "Формула, която започва с „-“, се пише след „--“:\n"
      "  verodazava --eval -- -5+2\n"
      "\n"
      "Изходен код: 0 – успех; 1 – файлът не може да се прочете или запише, или\n"
      "опциите са неправилни; 2 – поне една формула е с грешка (съобщението на\n"
      "стандартния изход за грешки посочва реда и позицията).\n");
}

QString VersionText() {
  return kAppTitle.toString() + QStringLiteral(", версия ") + QStringLiteral(VERODAZAVA_VERSION) +
         u'\n';
}

int RunCommandLine(const CommandLine& command, QTextStream& in, QTextStream& out, QTextStream& err,
                   const UserLocale& locale) {
  switch (command.mode) {
    case CommandLine::Mode::Help:
      out << UsageText();
      return kExitOk;
    case CommandLine::Mode::Version:
      out << VersionText();
      return kExitOk;
    case CommandLine::Mode::Eval:
      return RunEval(command, in, out, err, locale);
    case CommandLine::Mode::Report:
      return RunReport(command, out, err, locale);
    case CommandLine::Mode::Pdf:
      return RunPdf(command, err, locale);
    case CommandLine::Mode::UsageError:
      err << kProgram << ": " << command.error << '\n'
          << QStringLiteral("Помощ: verodazava --help") << '\n';
      return kExitFailure;
    case CommandLine::Mode::Window:
      break;
  }
  return kExitFailure;
}
