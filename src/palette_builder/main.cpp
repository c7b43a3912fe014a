// tintor: the palette editor that makes the .xpl colour palettes of quor's plots.
#include <QApplication>

#include "palette_builder/pal.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLatin1(kTintorTitle));
  TFpal form;
  form.show();
  return QApplication::exec();
}
