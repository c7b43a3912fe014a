#pragma once
// A conical sheet (annulus, disk or cylinder as special cases) replaced by
// coaxial thin rings: capacitance and field.
#include "ui/form.h"

class TFdisk : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFdisk(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 545;
  static constexpr int kHeight = 440;
};
