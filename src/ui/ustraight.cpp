#include "ui/ustraight.h"

TFstraight::TFstraight(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Inductances and mutual inductances of straight wires, flat square inductors"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fstraight"));
}
