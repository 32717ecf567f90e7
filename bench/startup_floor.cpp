// The floor of a start: a Qt window holding a label and a line edit, nothing else. The main
// window's start is judged against this program.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QHBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Ред 1"), &window));
  layout->addWidget(new QLineEdit(&window));
  window.show();
  return QApplication::exec();
}
