#include "ui/upartial.h"

TFpartial::TFpartial(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Partial toroidal surface decomposed in thin rings"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fpartial"));
}
