#include "ui/uparametros.h"

TFparametros::TFparametros(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Fparametros"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fparametros"));
}
