#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QTranslator>

#include "dialogs.h"
#include "userlocale.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/verodazava.svg")));
  QApplication::setApplicationName(kAppTitle);

  // Qt's own dialogs speak Bulgarian whatever the system's language is.
  QTranslator qtBulgarian;
  if (qtBulgarian.load(QStringLiteral("qtbase_bg"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtBulgarian);

  const UserLocale locale = UserLocale::From(QLocale::system());
  (void)locale;

  QMainWindow window;
  window.setWindowTitle(kAppTitle);
  window.show();
  return QApplication::exec();
}
