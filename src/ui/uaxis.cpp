#include "ui/uaxis.h"

TFcacal::TFcacal(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Electrostatic calculations"), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fcacal"));
}
