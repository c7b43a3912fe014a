#include "ui/form.h"

QFont FormFont() {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSize(8);
  return f;
}

void ShowForm(QWidget* form) {
  form->show();  // nothing happens to a window already visible ...
  form->raise(); // ... which only comes to the front
  form->activateWindow();
}

SecondaryForm::SecondaryForm(ReportSink& report, const QString& caption, int width, int height,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), report_(&report) {
  setWindowTitle(caption);
  setFont(FormFont());
  resize(width, height);
}
