#include "ui/quor2.h"

TForm2::TForm2(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Elliptic integrals"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Form2"));
}
