#include "ui/udisk.h"

TFdisk::TFdisk(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Circular sheet"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fdisk"));
}
