#include "ui/uesferas.h"

TFesferas::TFesferas(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Two spheres"), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fesferas"));
}
