#include "ui/uaxis.h"

TFcacal::TFcacal(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Electrostatic calculations"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fcacal"));
}
