#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "calculatorapp.h"
#include "dialogs.h"
#include "frmgetfile.h"
#include "printtarget.h"
#include "tablerecovery.h"
#include "tablestate.h"
#include "userlocale.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/verodazava.svg")));
  QApplication::setApplicationName(kAppTitle);
  // Lets Wayland desktops match the window to its launcher entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("verodazava"));

  // Qt's own dialogs speak Bulgarian whatever the system's language is.
  QTranslator qtBulgarian;
  if (qtBulgarian.load(QStringLiteral("qtbase_bg"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtBulgarian);

  const UserLocale locale = UserLocale::From(QLocale::system());
  TableState state;
  QtDialogs dialogs(MakeFileChooser(state));
  DefaultPrintTarget printTarget(dialogs, state.startDirectory);
  TableRecovery recovery(DefaultRecoveryFolder(), dialogs);
  CalculatorApp calculator(state, dialogs, printTarget, locale, &recovery);
  calculator.Window().show();
  calculator.RecoverUnsavedTable(false);
  return QApplication::exec();
}
