#include "commandline.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

#include "dialogs.h"

namespace cli {
namespace {

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

// Qt's options have to be known before any application object exists: which object is built
// (none with a display for the modes without a window, the window's only after the platform
// and its display are checked) depends on our own options, and Qt strips its options only
// inside QGuiApplication's constructor, which loads the platform.
QStringList WithoutQtOptions(const QStringList& arguments, QString& platform,
                             QString& platformPluginPath) {
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
    if (qstrcmp(qt->name, "platformpluginpath") == 0) platformPluginPath = value;
  }
  return ours;
}

// QCommandLineParser's own error texts are English; the program speaks Bulgarian.
QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    const QString name = unknown.first();
    // "--=" and "-=" name no option at all: the argument itself is shown.
    if (name.isEmpty()) {
      const QStringList nameless = arguments.filter(QRegularExpression(QStringLiteral("^--?=")));
      return QStringLiteral("непозната опция „%1“").arg(nameless.value(0, QStringLiteral("=")));
    }
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
  const QCommandLineOption tsv({QStringLiteral("t"), QStringLiteral("tsv")}, {});
  parser.addOptions({help, version, eval, report, pdf, tsv, decimals});
  QString platform;
  QString platformPluginPath;
  const QStringList ours = WithoutQtOptions(arguments, platform, platformPluginPath);
  if (!parser.parse(ours)) return UsageError(ParseErrorText(parser, ours));

  if (parser.isSet(help)) return Only(CommandLine::Mode::Help);
  if (parser.isSet(version)) return Only(CommandLine::Mode::Version);

  CommandLine command;
  const int modes = int{parser.isSet(eval)} + int{parser.isSet(report)} + int{parser.isSet(pdf)} +
                    int{parser.isSet(tsv)};
  if (modes > 1)
    return UsageError(QStringLiteral("--eval, --report, --pdf и --tsv не вървят заедно"));
  if (parser.isSet(decimals)) {
    if (modes == 0)
      return UsageError(
          QStringLiteral("--decimals важи само заедно с --eval, --report, --pdf или --tsv"));
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
    command.mode = parser.isSet(pdf)   ? CommandLine::Mode::Pdf
                   : parser.isSet(tsv) ? CommandLine::Mode::Tsv
                                       : CommandLine::Mode::Report;
    if (positional.size() != 1) {
      const char* name = parser.isSet(pdf) ? "--pdf" : parser.isSet(tsv) ? "--tsv" : "--report";
      return UsageError(
          QStringLiteral("%1 иска точно един файл с формули").arg(QLatin1String(name)));
    }
    command.reportFile = positional.first();
    command.pdfFile = parser.value(pdf);
    return command;
  }
  if (positional.size() > 1) return UsageError(QStringLiteral("прозорецът отваря само един файл"));
  command.startFile = positional.value(0);
  command.platform = platform;
  command.platformPluginPath = platformPluginPath;
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
      "  verodazava [--decimals N] --tsv ФАЙЛ.SPR\n"
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
      "  -p, --pdf ИЗХОД.pdf   отпечатва справката за ФАЙЛ.SPR в PDF файла ИЗХОД.pdf;\n"
      "                        „-“ вместо ИЗХОД.pdf я извежда на стандартния изход\n"
      "  -t, --tsv             извежда редовете на ФАЙЛ.SPR до последния попълнен,\n"
      "                        по един на ред: номер, формула и резултат (винаги\n"
      "                        с точка), разделени със знак за табулация\n"
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

}  // namespace cli
