#pragma once
// Exact capacitance and maximum field of a toroid by toroidal Legendre functions,
// and the capacitances of other shapes.
#include "electrostatics/breakdown_field.h"
#include "ui/form.h"

class TFtoroid : public SecondaryForm {
  Q_OBJECT
 public:
  TFtoroid(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 460;
  static constexpr int kHeight = 340;

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};
