#include "ui/uesferas.h"

TFesferas::TFesferas(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Two spheres"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fesferas"));
}
