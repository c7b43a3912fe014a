#include "ui/utoroid.h"

TFtoroid::TFtoroid(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Toroid capacitance, etc."), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Ftoroid"));
}
