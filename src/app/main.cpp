// quor: air-core transformer and electrostatics calculator.
#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QuorApplication quor;  // title, then the nine windows in their order
  quor.Start();
  return QApplication::exec();
}
