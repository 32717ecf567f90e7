#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "calculatorapp.h"
#include "commandline.h"
#include "dialogs.h"
#include "displaycheck.h"
#include "formulacommands.h"
#include "frmgetfile.h"
#include "printtarget.h"
#include "tablerecovery.h"
#include "tablestate.h"
#include "userlocale.h"

namespace {

QStringList Arguments(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}

// The modes without a window: none of them may need a display.
int RunWithoutWindow(const CommandLine& command, int argc, char* argv[]) {
  QTextStream in(stdin);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const UserLocale locale = UserLocale::From(QLocale::system());
  if (!command.NeedsFonts()) {
    QCoreApplication app(argc, argv);
    return RunCommandLine(command, in, out, err, locale);
  }
  // Printing measures and draws text, which takes a GUI application; the offscreen platform
  // gives one without a display.
  char platformOption[] = "-platform";
  char platformName[] = "offscreen";
  char* offscreenArgv[] = {argv[0], platformOption, platformName, nullptr};
  int offscreenArgc = 3;
  // Qt's notes about the offscreen platform's surroundings are no business of a script.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  QGuiApplication app(offscreenArgc, offscreenArgv);
  return RunCommandLine(command, in, out, err, locale);
}

}  // namespace

int main(int argc, char* argv[]) {
  const CommandLine command = ParseCommandLine(Arguments(argc, argv));
  if (!command.NeedsDisplay()) return RunWithoutWindow(command, argc, argv);

  // Qt's -platform option counts before its environment variable, as in Qt itself.
  DisplayEnvironment environment = DisplayEnvironment::FromProcess();
  if (!command.platform.isEmpty()) environment.platform = command.platform;
  if (const auto missing = MissingDisplayMessage(environment, DisplayProbes::Real())) {
    std::fputs(missing->toLocal8Bit().constData(), stderr);
    return kExitFailure;
  }

  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/verodazava.svg")));
  QApplication::setApplicationName(kAppTitle.toString());
  // Lets Wayland desktops match the window to its launcher entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("verodazava"));

  // Qt's own dialogs speak Bulgarian whatever the system's language is.
  QTranslator qtBulgarian;
  if (qtBulgarian.load(QStringLiteral("qtbase_bg"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtBulgarian);

  const UserLocale locale = UserLocale::From(QLocale::system());
  // A program opened with a file (from the desktop or a shell) starts from that file, and is
  // not offered a table an earlier run left unsaved. The file's folder is the start folder
  // of everything that writes (formula files, the PDF offer).
  const bool startedWithFile = !command.startFile.isEmpty();
  TableState state;
  if (startedWithFile) TakeStartDirectoryOf(state, command.startFile);
  QtDialogs dialogs(MakeFileChooser(state));
  DefaultPrintTarget printTarget(dialogs, state.startDirectory);
  TableRecovery recovery(DefaultRecoveryFolder(), dialogs);
  CalculatorApp calculator(state, dialogs, printTarget, locale, &recovery);
  dialogs.SetOwner(&calculator.Window());
  calculator.Window().show();

  calculator.RecoverUnsavedTable(startedWithFile);
  if (startedWithFile) {
    // Once the event loop runs, so that a message about the file opens over the window.
    QTimer::singleShot(0, &calculator.Window(),
                       [&calculator, &command] { calculator.OpenStartFile(command.startFile); });
  }
  return QApplication::exec();
}
