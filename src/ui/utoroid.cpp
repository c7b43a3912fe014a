#include "ui/utoroid.h"

TFtoroid::TFtoroid(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Toroid capacitance, etc."), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Ftoroid"));
}
