#pragma once
// Two conducting spheres: mutual capacitance by bispherical images, maximum field
// by Russell's series, capacitance matrix.
#include "electrostatics/breakdown_field.h"
#include "ui/form.h"

class TFesferas : public SecondaryForm {
  Q_OBJECT
 public:
  TFesferas(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 420;
  static constexpr int kHeight = 240;

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};
