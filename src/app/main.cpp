// quor: air-core transformer and electrostatics calculator.
#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QuorApplication quor;  // title, then the ten windows in their order
  quor.Start();
  // The files named on the command line, with Qt's own options already taken out.
  quor.OpenFiles(QCoreApplication::arguments().mid(1));
  return QApplication::exec();
}
