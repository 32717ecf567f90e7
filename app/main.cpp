#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "batchmodes.h"
#include "calculatorapp.h"
#include "commandline.h"
#include "dialogs.h"
#include "displaycheck.h"
#include "errormessage.h"
#include "formulacommands.h"
#include "frmgetfile.h"
#include "prerenderedwindowicon.h"
#include "printtarget.h"
#include "quitsignals.h"
#include "tablerecovery.h"
#include "tablestate.h"
#include "userlocale.h"

namespace {

using cli::CommandLine;

// The arguments as text, and as the bytes they came as: Qt decodes names as UTF-8, so a file
// name whose bytes are not valid UTF-8 can only be reached from its bytes.
struct Arguments {
  QStringList text;
  QList<QByteArray> bytes;

  Arguments(int argc, char* argv[]) {
    for (int i = 0; i < argc; ++i) {
      bytes.append(QByteArray(argv[i]));
      text.append(QFile::decodeName(bytes.last()));
    }
  }

  // Whether an option's value reads as the bytes it came as. A name that decoding changed would be
  // written under a name the user never gave.
  bool AsGiven(const QString& value) const {
    for (qsizetype i = 1; i < text.size(); ++i)
      if ((text[i] == value || text[i].endsWith(u'=' + value)) &&
          QFile::encodeName(text[i]) != bytes[i])
        return false;
    return true;
  }

  // A file argument as a path that opens it. A name that decoding changed is opened here from
  // its bytes and given as the descriptor's path, which reads as the file itself; it stays
  // open for the whole run.
  QString Openable(const QString& file) const {
    const qsizetype index = text.indexOf(file, 1);
    if (index < 0 || QFile::encodeName(file) == bytes[index]) return file;
    const int fd = ::open(bytes[index].constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return file;
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
  }
};

// Standard output, or -1 when the program was started with it closed. Closed standard
// streams are taken by /dev/null, so that no file the program opens later lands on them and
// gets the output.
int StandardOutput() {
  const bool closed = ::fcntl(STDOUT_FILENO, F_GETFD) < 0;
  while (::fcntl(STDERR_FILENO, F_GETFD) < 0 || ::fcntl(STDOUT_FILENO, F_GETFD) < 0 ||
         ::fcntl(STDIN_FILENO, F_GETFD) < 0)
    if (::open("/dev/null", O_RDWR) < 0) break;
  return closed ? -1 : STDOUT_FILENO;
}

// The modes without a window: none of them may need a display.
int RunWithoutWindow(const CommandLine& command, int argc, char* argv[]) {
  cli::OutputDevice out(StandardOutput());
  QFile in;
  in.open(stdin, QIODevice::ReadOnly);
  QTextStream err(stderr);
  const UserLocale locale = UserLocale::From(QLocale::system());
  if (!command.NeedsFonts()) {
    QCoreApplication app(argc, argv);
    return cli::RunCommandLine(command, in, out, err, locale);
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
  return cli::RunCommandLine(command, in, out, err, locale);
}

// The launcher's icon at the sizes an X window is given (_NET_WM_ICON), drawn from its SVG when
// the program was built: reading the SVG here would load Qt's SVG plugin and library at every
// start. A QIcon of the SVG file would load Qt's SVG icon engine as well; the pixels are the
// same.
QIcon WindowIcon() {
  QIcon icon;
  for (const int side : {16, 32, 64, 128})
    icon.addPixmap(QPixmap::fromImage(PrerenderedWindowIcon(QSize(side, side))));
  return icon;
}

// The main window, until it is closed or a signal ends the program.
int RunWindow(const CommandLine& command, const Arguments& arguments, int& argc, char* argv[]) {
  QApplication app(argc, argv);
  const QuitOnSignals quitOnSignals;
  QApplication::setWindowIcon(WindowIcon());
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
  const QString currentFolder = QDir::currentPath();
  TableState state(startedWithFile ? StartDirectoryOf(command.startFile, currentFolder)
                                   : currentFolder);
  QtDialogs dialogs(MakeFileChooser(state));
  DefaultPrintTarget printTarget(dialogs, state);
  TableRecovery recovery(DefaultRecoveryFolder(), dialogs);
  CalculatorApp calculator(state, dialogs, printTarget, locale, &recovery);
  dialogs.SetOwner(&calculator.Window());
  calculator.Window().show();

  calculator.RecoverUnsavedTable(startedWithFile);
  if (startedWithFile) {
    // Once the event loop runs, so that a message about the file opens over the window.
    QTimer::singleShot(0, &calculator.Window(), [&calculator, &state, &command, &arguments] {
      const QString openable = arguments.Openable(command.startFile);
      calculator.OpenStartFile(openable);
      // Opened through its descriptor: the saves still go to the file's own folder, under the
      // name as far as it can be shown.
      if (openable != command.startFile) {
        TakeStartDirectoryOf(state, command.startFile);
        state.lastFileName = QFileInfo(command.startFile).fileName();
      }
    });
  }
  // A signal during the recovery question ended its dialog, and ends the program now.
  return QuitOnSignals::Received() != 0 ? 0 : QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  const Arguments arguments(argc, argv);
  CommandLine command = cli::ParseCommandLine(arguments.text);
  if (!command.reportFile.isEmpty()) command.reportFile = arguments.Openable(command.reportFile);
  if (command.mode == CommandLine::Mode::Pdf && !command.PdfToStandardOutput() &&
      !arguments.AsGiven(command.pdfFile)) {
    const QString refusal = QStringLiteral("verodazava: %1: %2\n")
                                .arg(command.pdfFile, ErrorMessage(ErrorCode::BadFileName));
    std::fputs(refusal.toLocal8Bit().constData(), stderr);
    return cli::kExitFailure;
  }
  if (!command.NeedsDisplay()) return RunWithoutWindow(command, argc, argv);

  // Qt's -platform option counts before its environment variable, as in Qt itself.
  DisplayEnvironment environment = DisplayEnvironment::FromProcess();
  if (!command.platform.isEmpty()) environment.platform = command.platform;
  auto refusal = UnknownPlatformMessage(
      environment.platform, AvailablePlatforms(PlatformPluginFolders(command.platformPluginPath)));
  if (!refusal) refusal = MissingDisplayMessage(environment, DisplayProbes::Real());
  if (refusal) {
    std::fputs(refusal->toLocal8Bit().constData(), stderr);
    return cli::kExitFailure;
  }
  const int status = RunWindow(command, arguments, argc, argv);
  // The window, its table and the recovery slot are all let go by now.
  QuitOnSignals::EndAsReceived();
  return status;
}
