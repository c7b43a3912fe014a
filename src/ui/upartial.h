#pragma once
// A band of a torus surface replaced by coaxial thin rings: capacitance and
// surface field.
#include "electrostatics/breakdown_field.h"
#include "ui/form.h"

class TFpartial : public SecondaryForm {
  Q_OBJECT
 public:
  TFpartial(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 600;
  static constexpr int kHeight = 520;

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};
