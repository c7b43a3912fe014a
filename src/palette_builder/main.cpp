// tintor: the palette editor that makes the .xpl colour palettes of quor's plots.
#include <QApplication>

#include "palette_builder/pal.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLatin1(kTintorTitle));
  TFpal form;
  form.show();
  // The palette named on the command line (a double-clicked .xpl file).
  for (const QString& name : QCoreApplication::arguments().mid(1)) form.OpenFile(name);
  return QApplication::exec();
}
