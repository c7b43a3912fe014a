#include "ui/upartial.h"

TFpartial::TFpartial(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Partial toroidal surface decomposed in thin rings"), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fpartial"));
}
